// Feeds arbitrary bytes to the archive reader as "interface.dat" and reads
// every entry back: nothing in a hostile archive may crash it or make it read
// outside the file.
#include "core/ResourceArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static platform::RecordingDialogs quiet;
    static QTemporaryDir dir;
    platform::setDialogs(&quiet);
    quiet.clear();
    const QString native = dir.path() + QStringLiteral("/interface.dat");
    {
        QFile file(native);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    if (OpenArchive(platform::toVirtual(native))) {
        const qint64 fileSize = qint64(size);
        const auto &entries = ArchiveEntries();
        for (int i = 0; i < entries.size(); ++i) {
            const QByteArray bytes = ExtractEntry(i);
            if (bytes.size() > fileSize)
                std::abort(); // more bytes than the file holds
        }
        if (!entries.isEmpty())
            (void)FindEntry(QString::fromLatin1(entries.back().name));
        CloseArchive();
    }
    return 0;
}
