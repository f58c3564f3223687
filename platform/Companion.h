#pragma once

#include <QByteArray>
#include <QString>

// The conversation with the companion wiring-diagram viewer, carried over
// local sockets in place of window messages. Every message is a 16-byte
// header (message number, wParam, lParam, payload length: unsigned 32-bit
// little-endian) followed by the payload.
namespace platform {

enum CompanionMessage : quint32
{
    MsgClose = 0x0010,      // WM_CLOSE: the viewer is closing, the companion should too
    MsgCopyData = 0x004A,   // WM_COPYDATA: a request record follows
    MsgShowWindow = 0x0018, // the receiver's window: wParam 0 hide, 5 show (and bring forward)
    MsgShown = 1690,        // WM_USER + 666: the page is shown; wParam = the viewer's window id
    MsgOpen = 0x0401,       // a second start of the viewer hands its manual and page over
};

inline constexpr int kCompanionNameSize = 274;
inline constexpr int kCompanionRecordSize = 16 + kCompanionNameSize;
inline constexpr int kCompanionHeaderSize = 16;

// The companion's window title, under which it listens.
QString companionTitle(); // "Вольтограф"
// The viewer's own title, under which it listens.
QString viewerTitle(); // "Ремонт"

// The socket a window listens on: in the user's runtime folder, named after
// the window's title.
QString companionSocketPath(const QString &title);

struct CompanionRequest
{
    quint16 command = 0; // 0 show a page, 1 print a picture
    QString fileName;    // decoded from Windows-1251
};

// The record: command word, 14 unread bytes, 274 bytes of name ended by a
// zero byte or filling the field whole. Bytes missing at the end read as zero.
CompanionRequest decodeCompanionRecord(QByteArrayView record);
// The record for a request; a name longer than the field is cut to it.
QByteArray encodeCompanionRecord(quint16 command, const QString &fileName);

// What a second start of the viewer hands to the running copy: its MANUAL
// (native, absolute; empty when none was named) and its page (may be empty).
// Carried as UTF-8, the two texts separated by a zero byte.
struct OpenRequest
{
    QString manual;
    QString page;
};

QByteArray encodeOpenRequest(const OpenRequest &request);
OpenRequest decodeOpenRequest(QByteArrayView payload);

struct CompanionFrame
{
    quint32 message = 0;
    quint32 wParam = 0;
    quint32 lParam = 0;
    QByteArray payload;
};

QByteArray encodeFrame(const CompanionFrame &frame);
// Takes one whole frame from the front of buffer; false while it is incomplete.
// A frame announcing more than maxPayload bytes is refused: *bad is set.
bool takeFrame(QByteArray &buffer, CompanionFrame &frame, bool *bad, quint32 maxPayload = 65536);

} // namespace platform
