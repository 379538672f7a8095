#include "ui/support/TagFiles.h"

#include "ui/main/TextConversion.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tagwerk::test {

namespace {

QByteArray Filled(const QByteArray& text, int width) {
    return text.left(width).leftJustified(width, ' ');
}

// Sizes of ID3v2.4 frames and of every tag use 7 bits a byte.
QByteArray Id3v2Size(int size, bool sevenBits) {
    QByteArray bytes;
    for (int shift = 3; shift >= 0; --shift)
        bytes += char(sevenBits ? (size >> (7 * shift)) & 0x7F : (size >> (8 * shift)) & 0xFF);
    return bytes;
}

} // namespace

QByteArray Id3v2Bytes(int version, const Id3v1Fields& fields, int pictureSize) {
    QByteArray frames;
    const auto frame = [&](const char* id, const QByteArray& body) {
        frames += id + Id3v2Size(body.size(), version == 4) + QByteArray(2, '\0') + body;
    };
    const auto text = [&](const char* id, const QByteArray& value) {
        if (!value.isEmpty())
            frame(id, '\0' + value);
    };
    text("TIT2", fields.title);
    text("TPE1", fields.artist);
    text("TALB", fields.album);
    text(version == 4 ? "TDRC" : "TYER", fields.year);
    if (!fields.comment.isEmpty())
        frame("COMM", QByteArray("\0deu\0", 5) + fields.comment);
    if (fields.genre != 255)
        text("TCON", "(" + QByteArray::number(fields.genre) + ")");
    if (pictureSize > 0) {
        QByteArray picture;
        for (int i = 0; i < pictureSize; ++i)
            picture += char(i);
        frame("APIC", QByteArray("\0image/png\0\x03\0", 13) + picture);
    }
    return "ID3" + QByteArray(1, char(version)) + QByteArray(2, '\0') +
           Id3v2Size(frames.size(), true) + frames;
}

QByteArray Id3v1Trailer(const Id3v1Fields& fields) {
    QByteArray trailer = "TAG";
    trailer += Filled(fields.title, 30) + Filled(fields.artist, 30) + Filled(fields.album, 30) +
               Filled(fields.year, 4) + Filled(fields.comment, 30);
    trailer += char(fields.genre);
    return trailer;
}

QByteArray ReadBytes(const QString& path) {
    std::ifstream file(NativePath(path), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    return QByteArray::fromStdString(bytes);
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    std::ofstream file(NativePath(path), std::ios::binary | std::ios::trunc);
    if (!file.write(bytes.constData(), bytes.size()).flush())
        qFatal("cannot write the test file %s", qPrintable(path));
}

QStringList FileNamesIn(const QString& directory) {
    QStringList names;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(directory)))
        if (entry.is_regular_file())
            names << PathFromNative(entry.path().filename().native());
    names.sort();
    return names;
}

AnyNameTempDir::~AnyNameTempDir() {
    std::error_code error;
    std::filesystem::remove_all(NativePath(path()), error);
}

QByteArray LameMp3() {
    static const QByteArray mp3 = [] {
        QTemporaryDir directory;
        const QString lame = QStandardPaths::findExecutable("lame");
        if (lame.isEmpty() || !directory.isValid())
            return QByteArray();
        const QString raw = directory.filePath("silence.raw");
        WriteBytes(raw, QByteArray(16000, '\0')); // one second of 8 kHz mono silence
        const QString out = directory.filePath("silence.mp3");
        QProcess::execute(lame, {"--quiet", "-r", "-s", "8", "-m", "m", "--bitwidth", "16",
                                 "--signed", "--little-endian", raw, out});
        return ReadBytes(out);
    }();
    return mp3;
}

QMap<QString, QString> MutagenId3v1(const QString& path) {
    // Debian's interpreter, which has python3-mutagen.
    const char* script = R"(
import json, sys
from mutagen.id3 import ParseID3v1
data = open(sys.argv[1], 'rb').read()[-128:]
frames = ParseID3v1(data) or {}
text = {key: str(frame) for key, frame in frames.items()}
if 'TCON' in frames:
    text['TCON'] = frames['TCON'].genres[0]
print(json.dumps(text))
)";
    QProcess python;
    python.start("/usr/bin/python3", {"-c", script, path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return {};
    QMap<QString, QString> fields;
    const QJsonObject object = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    for (auto it = object.begin(); it != object.end(); ++it)
        fields.insert(it.key(), it.value().toString());
    return fields;
}

} // namespace tagwerk::test
