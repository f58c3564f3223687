#pragma once

// Alignment of a control inside its parent, in the form framework's terms.
// Widget-free, so the value parsers of the core can name it.
enum class TAlign
{
    None,
    Top,
    Bottom,
    Left,
    Right,
    Client,
    Custom
};
