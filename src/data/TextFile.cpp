#include "data/TextFile.h"

#include "data/DownloadText.h"
#include "data/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace sonvex::TextFile {

bool read(const QString& path, Content* out, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + f.errorString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + f.errorString();
        return false;
    }
    bool utf8 = false;
    const QString text = TextCodec::decodeText(bytes, &utf8);
    Content c;
    c.lines = DownloadText::splitLines(text);
    // Plain ASCII reads the same either way; remember UTF-8 only where it matters.
    c.utf8 = utf8 && (TextCodec::hasUtf8Bom(bytes) || text.size() != bytes.size());
    *out = std::move(c);
    return true;
}

bool write(const QString& path, const QStringList& lines, bool preferUtf8, QString* error)
{
    QString text;
    qsizetype n = 0;
    for (const QString& l : lines)
        n += l.size() + 2;
    text.reserve(n);
    for (const QString& l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    QByteArray bytes;
    if (!preferUtf8) {
        bool lossless = true;
        bytes = TextCodec::toWindows1252(text, &lossless);
        if (!lossless)
            bytes = text.toUtf8(); // characters outside the code page: keep them all
    } else {
        bytes = text.toUtf8();
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + f.errorString();
        return false;
    }
    return true;
}

bool startsWithXml(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QByteArray head = f.read(16);
    if (TextCodec::hasUtf8Bom(head))
        head = head.mid(3);
    return head.startsWith("<?xml");
}

} // namespace sonvex::TextFile
