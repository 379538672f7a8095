#pragma once
// Test files with and without an ID3v1 trailer, built here byte by byte
// (not with the program's own encoder), and outside oracles to read them.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace tagwerk::test {

struct Id3v1Fields {
    QByteArray title, artist, album, year, comment; // Windows-1252 bytes
    quint8 genre = 255;
};

// "TAG" and the fields, each filled with blanks to its width.
QByteArray Id3v1Trailer(const Id3v1Fields& fields);

// An ID3v2.3 or 2.4 tag of the fields as Latin-1 text frames, its year as
// TYER (2.3) or TDRC (2.4), a comment without description, the genre as
// "(code)" unless 255, and a picture frame of `pictureSize` bytes.
QByteArray Id3v2Bytes(int version, const Id3v1Fields& fields, int pictureSize = 0);

// A song whose ID3v2 tag the program takes into a trailer.
inline const Id3v1Fields kId3v2Song{"Titel aus v2", "K\xfcnstler", "Album 2", "2004", "Neu", 8};

// Names in Latin-1, which is no UTF-8, as the program holds them (the byte
// 0xE9 kept as U+DCE9): "Café del Mar.mp3", the same as shown, and "Müll".
inline const QString kLatin1Name = QString::fromUtf16(u"Caf\xDCE9 del Mar.mp3");
inline const QString kLatin1Shown = QString::fromUtf16(u"Caf\xFFFD del Mar.mp3");
inline const QString kLatin1Directory = QString::fromUtf16(u"M\xDCFCll");

// Files by their paths as the program holds them, so any bytes of a name.
QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);
// The names of the files in a directory, hidden ones too, sorted.
QStringList FileNamesIn(const QString& directory);

// A temporary directory that is removed with all its names: QTemporaryDir
// leaves behind those that are no UTF-8, which Qt does not list.
class AnyNameTempDir : public QTemporaryDir {
public:
    using QTemporaryDir::QTemporaryDir;
    ~AnyNameTempDir();
};

// A short real MP3 stream made by lame (without any tag); empty when lame
// is missing.
QByteArray LameMp3();

// The ID3v1 fields as python3-mutagen reads them ("TIT2", "TPE1", "TALB",
// "TDRC", "COMM", "TCON"); empty when the file has none or mutagen is missing.
QMap<QString, QString> MutagenId3v1(const QString& path);

} // namespace tagwerk::test
