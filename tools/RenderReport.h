#pragma once

#include <QJsonObject>

class TSkStract;
namespace platform {
class RecordingDialogs;
}

// What remont-render reports about a built window: the window, every object
// in creation order with its geometry and state, and every message shown.
QJsonObject RenderReport(const TSkStract &engine, const platform::RecordingDialogs &messages);
