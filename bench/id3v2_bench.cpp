// The run that gives every listed file an ID3v1 tag from its ID3v2 tag, over
// 10,000 files with ID3v2.3 tags of 2 to 40 KiB (every third with a cover
// picture), in the same run on the same files:
// - through its window, against a bare loop that reads each file's first
//   64 KiB and writes 128 bytes at its end, and against kid3-cli copying
//   tag 2 into tag 1 (one process per 100 files);
// - its preview against the run itself;
// - its peak memory over 1,000 and 10,000 of the files, each in a fresh
//   process, beside that of a process that only lists them;
// - reading the ID3v2 tag of single hostile files, each in a fresh process:
//   what the reading adds to the peak memory and how long it takes, whatever
//   the tag and its frames declare.
#include "bench/support/Measure.h"
#include "bench/support/WindowBench.h"
#include "id3v2/Id3v2Reading.h"
#include "ui/batch/Form6.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace {

using namespace tagwerk;
using namespace tagwerk::bench;

constexpr int kFiles = 10'000;

// The time `work` takes once the writes before it are on disk, kept in
// `best` where shorter.
void Measure(const std::function<void()>& work, Fastest& best) {
    ::sync();
    best.keep(Timed(work));
}

std::string BigEndian32(std::uint64_t value) {
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>(value >> shift & 0xFF);
    return bytes;
}

std::string TagHeader(int version, std::uint64_t size, char flags = 0) {
    std::string header = std::string("ID3") + static_cast<char>(version) + '\0' + flags;
    for (int shift = 21; shift >= 0; shift -= 7)
        header += static_cast<char>(size >> shift & 0x7F);
    return header;
}

// A frame of ID3v2.3: plain sizes.
std::string Frame3(const std::string& id, std::uint64_t bodySize,
                   const std::string& flags = std::string(2, '\0')) {
    return id + BigEndian32(bodySize) + flags;
}

QByteArray Frame(const char* id, const QByteArray& body) {
    return QByteArray::fromStdString(Frame3(id, body.size())) + body;
}

// Latin-1, or UTF-16 with its byte order mark as most taggers write it.
QByteArray Text(const QString& text, bool utf16) {
    if (!utf16)
        return '\0' + text.toLatin1();
    QByteArray bytes("\x01\xff\xfe", 3);
    for (QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

// An ID3v2.3 tag of `size` bytes: text frames, then a cover picture or padding.
QByteArray Id3v2Tag(int i, int size, bool picture) {
    QByteArray frames = Frame("TIT2", Text(QString("Lied Nummer %1").arg(i), true)) +
                        Frame("TPE1", Text("Die Ärzte", true)) +
                        Frame("TALB", Text("Große Album-Sammlung", false)) +
                        Frame("TYER", Text("1998", false)) +
                        Frame("COMM", QByteArray("\0deu\0", 5) + "Aufgenommen live") +
                        Frame("TCON", Text("(17)", false));
    const int rest = size - 10 - frames.size();
    if (picture)
        frames += Frame("APIC", QByteArray("\0image/jpeg\0\x03\0", 14) +
                                    QByteArray(rest - 10 - 14, '\xd8'));
    else
        frames += QByteArray(rest, '\0');
    return QByteArray::fromStdString(TagHeader(3, frames.size())) + frames;
}

// Ten seconds of silence as lame makes it (80 KiB, so that the bare loop
// reads its full 64 KiB of every file), else bytes of that size.
QByteArray Audio() {
    QTemporaryDir dir;
    QFile raw(dir.filePath("silence.raw"));
    if (raw.open(QIODevice::WriteOnly))
        raw.write(QByteArray(882'000, '\0'));
    raw.close();
    QProcess::execute("lame", {"--quiet", "-r", "-s", "44.1", "--bitwidth", "16", "-m", "m",
                               raw.fileName(), dir.filePath("silence.mp3")});
    QFile mp3(dir.filePath("silence.mp3"));
    return mp3.open(QIODevice::ReadOnly) ? mp3.readAll() : QByteArray(80'000, '\x55');
}

QString FilePath(const QString& directory, int i) {
    return directory + QString("/%1.mp3").arg(i, 5, 10, QChar('0'));
}

QStringList MakeFiles(const QString& directory) {
    const QByteArray audio = Audio();
    QStringList paths;
    for (int i = 0; i < kFiles; ++i) {
        paths << FilePath(directory, i);
        QFile file(paths.last());
        const int size = 2048 + (i * 7919) % (38 * 1024 + 1); // 2 to 40 KiB, spread
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(Id3v2Tag(i, size, i % 3 == 0) + audio) < 0)
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
    return paths;
}

// "Starten" in the window, overwriting the tags the files already have.
void RunThroughWindow() {
    Form1::instance().ID3v2Name->trigger();
    Form6& window = Form6::instance();
    window.Check1->setChecked(true);
    window.Command1_Click();
    frmMessage::unload();
}

void BareLoop(const QStringList& paths) {
    std::vector<char> start(64 * 1024);
    const QByteArray trailer = "TAG" + QByteArray(124, ' ') + '\xff';
    for (const QString& path : paths) {
        const int file = ::open(QFile::encodeName(path).constData(), O_RDWR);
        const off_t length = file < 0 ? -1 : ::lseek(file, 0, SEEK_END);
        if (length < 128 || ::pread(file, start.data(), start.size(), 0) < 0 ||
            ::pwrite(file, trailer.constData(), 128, length - 128) != 128 || ::close(file) != 0)
            qFatal("the bare loop failed on %s", qPrintable(path));
    }
}

void BM_Id3v2Run(benchmark::State& state) {
    QTemporaryDir dir;
    const QStringList paths = MakeFiles(dir.path());
    ListInMainWindow(paths);
    RunThroughWindow(); // every file has its trailer from now on
    const QString kid3 = QStandardPaths::findExecutable("kid3-cli");
    for (auto _ : state) {
        // The best of rounds taken in turns, so that other work on the
        // machine weighs on both alike.
        Fastest bare;
        Fastest window;
        for (int round = 0; round < 9; ++round) {
            Measure([&] { BareLoop(paths); }, bare);
            Measure(RunThroughWindow, window);
        }
        state.SetIterationTime(window.wall);
        state.counters["bare_s"] = bare.wall;
        state.counters["window_s"] = window.wall;
        state.counters["window/bare"] = window.wall / bare.wall;
        state.counters["cpu_window/bare"] = window.cpu / bare.cpu;
        if (!kid3.isEmpty()) {
            Fastest kid3Times;
            Measure(
                [&] {
                    for (int first = 0; first < kFiles; first += 100) {
                        QProcess process;
                        process.start(kid3, QStringList{"-c", "syncto 1", "-c", "save"} +
                                                paths.mid(first, 100));
                        if (!process.waitForFinished(-1) || process.exitCode() != 0)
                            qFatal("kid3-cli failed");
                    }
                },
                kid3Times);
            state.counters["kid3-cli_s"] = kid3Times.wall;
            state.counters["kid3-cli/bare"] = kid3Times.wall / bare.wall;
            state.counters["kid3-cli/window"] = kid3Times.wall / window.wall;
        }
    }
}
BENCHMARK(BM_Id3v2Run)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The preview of the run over the same files against the run itself: it
// reads only the files whose rows come into sight.
void BM_Id3v2Preview(benchmark::State& state) {
    QTemporaryDir dir;
    ListInMainWindow(MakeFiles(dir.path()));
    for (auto _ : state) {
        const PreviewSeconds seconds = PreviewAgainstRun(
            [] {
                Form1::instance().ID3v2Name->trigger();
                Form6::instance().Command3_Click();
            },
            RunThroughWindow, 3);
        ReportPreview(state, seconds);
    }
}
BENCHMARK(BM_Id3v2Preview)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// In a fresh process: list the first `count` files made in `directory` and,
// with `run`, press "Starten".
long PeakOfList(const QString& directory, int count, bool run) {
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << FilePath(directory, i);
    return PeakAfterListing(paths, run ? RunThroughWindow : std::function<void()>());
}

long PeakInChild(const QString& directory, int count, bool run) {
    return InFreshProcess({"--peak", directory, QString::number(count), run ? "run" : "list"})
        .toLong();
}

// What the run adds to the peak of a process that only lists the files:
// the same for 1,000 and 10,000 files.
void BM_Id3v2PeakMemory(benchmark::State& state) {
    QTemporaryDir dir;
    MakeFiles(dir.path());
    for (auto _ : state) {
        const auto start = Clock::now();
        for (const int count : {1'000, kFiles}) {
            const long peak = PeakInChild(dir.path(), count, true);
            const long listed = PeakInChild(dir.path(), count, false);
            const std::string files = std::to_string(count);
            state.counters["peak_MiB_" + files] = peak / 1024.0;
            state.counters["run_adds_MiB_" + files] = (peak - listed) / 1024.0;
        }
        state.SetIterationTime(SecondsSince(start));
    }
}
BENCHMARK(BM_Id3v2PeakMemory)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Hostile files: built piece by piece, so that the benchmark itself holds
// none of their hundreds of MiB.
class HostileFile {
public:
    explicit HostileFile(const std::string& path) : out_(path, std::ios::binary) {}

    HostileFile& bytes(const std::string& bytes) {
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return *this;
    }
    HostileFile& repeat(const std::string& piece, std::uint64_t times) {
        std::string block;
        for (int i = 0; i < 4096; ++i)
            block += piece;
        for (; times >= 4096; times -= 4096)
            bytes(block);
        for (; times > 0; --times)
            bytes(piece);
        return *this;
    }

private:
    std::ofstream out_;
};

std::string TextFrame3(const std::string& id, const std::string& text) {
    return Frame3(id, text.size() + 1) + '\0' + text;
}

// A text of `inflated` bytes, Latin-1 "A"s, as zlib data, made block by block.
std::string ZlibOfAs(std::uint64_t inflated) {
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    std::string packed;
    std::string block(1 << 20, 'A');
    block[0] = '\0'; // the encoding byte, in the first block only
    std::vector<char> out(1 << 20);
    for (std::uint64_t left = inflated;;) {
        const std::uint64_t now = std::min<std::uint64_t>(left, block.size());
        left -= now;
        stream.next_in = reinterpret_cast<Bytef*>(block.data());
        stream.avail_in = static_cast<uInt>(now);
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            deflate(&stream, left == 0 ? Z_FINISH : Z_NO_FLUSH);
            packed.append(out.data(), out.size() - stream.avail_out);
        } while (stream.avail_out == 0);
        if (left == 0)
            break;
        block[0] = 'A';
    }
    deflateEnd(&stream);
    return packed;
}

constexpr std::uint64_t kMiB = 1 << 20;

struct Hostile {
    const char* name;
    std::function<void(const std::string& path)> make;
    bool artistRead = true; // else the walk ends before it
};

// Each starts with a title and ends in an artist frame, so that the whole
// tag has to be walked.
const Hostile kHostile[] = {
    {"bomb_1MiB",
     [](const std::string& path) {
         const std::string packed = ZlibOfAs(1024 * kMiB);
         const std::string title = BigEndian32(1024 * kMiB) + packed;
         const std::string artist = TextFrame3("TPE1", "Band");
         HostileFile(path)
             .bytes(TagHeader(3, 10 + title.size() + artist.size()))
             .bytes(Frame3("TIT2", title.size(), std::string("\0\x80", 2)) + title + artist);
     }},
    {"title_32MiB",
     [](const std::string& path) {
         HostileFile(path)
             .bytes(TagHeader(3, 10 + 1 + 32 * kMiB + 15) + Frame3("TIT2", 1 + 32 * kMiB) + '\0')
             .repeat("Lied", 8 * kMiB)
             .bytes(TextFrame3("TPE1", "Band"));
     }},
    {"declares_256MiB",
     [](const std::string& path) {
         const std::uint64_t picture = 256 * kMiB - 100;
         HostileFile(path)
             .bytes(TagHeader(3, 0x0FFFFFFF) + TextFrame3("TIT2", "Lied") + Frame3("APIC", picture))
             .repeat(std::string(1, '\xd8'), picture)
             .bytes(TextFrame3("TPE1", "Band"))
             .repeat(std::string(1, '\0'), 64 * kMiB);
     }},
    // 0xFF written as 0xFF 0x00: every byte has to be looked at.
    {"unsynchronised_256MiB",
     [](const std::string& path) {
         const std::uint64_t picture = 128 * kMiB - 64;
         HostileFile(path)
             .bytes(TagHeader(3, 0x0FFFFFFF, '\x80') + TextFrame3("TIT2", "Lied") +
                    Frame3("APIC", picture))
             .repeat(std::string("\xff\0", 2), picture)
             .bytes(TextFrame3("TPE1", "Band"));
     }},
    {"empty_frames_256MiB",
     [](const std::string& path) {
         const std::uint64_t frames = 256 * kMiB / 10;
         HostileFile(path)
             .bytes(TagHeader(3, 15 + frames * 10 + 15) + TextFrame3("TIT2", "Lied"))
             .repeat(Frame3("MCDI", 0), frames)
             .bytes(TextFrame3("TPE1", "Band"));
     },
     false},
};

// In a fresh process: "added_KiB seconds cpu_seconds artist_read" of one
// reading of the file; no tag at all ends the process.
std::string ReadOnce(const char* path) {
    const long before = PeakResidentKiB();
    std::optional<tagwerk::Id3v2Tag> tag;
    const Spent spent = Timed([&] { tag = ReadId3v2Tag(path); });
    if (!tag)
        qFatal("no tag read from %s", path);
    return std::to_string(PeakResidentKiB() - before) + " " + std::to_string(spent.wall) + " " +
           std::to_string(spent.cpu) + " " + (tag->record.artist == "Band" ? "1" : "0");
}

void BM_Id3v2HostileTags(benchmark::State& state) {
    const WorkDirectory dir;
    for (auto _ : state) {
        const auto start = Clock::now();
        double mostMiB = 0, longest = 0;
        for (const Hostile& hostile : kHostile) {
            const std::string path = dir.path() + "/" + hostile.name + ".mp3";
            hostile.make(path);
            const QStringList read =
                InFreshProcess({"--read-id3v2", QString::fromStdString(path)}).split(' ');
            if ((read.value(3) == "1") != hostile.artistRead)
                qFatal("%s was not read as far as it should be", hostile.name);
            const double addedMiB = read[0].toDouble() / 1024, seconds = read[1].toDouble();
            state.counters[std::string(hostile.name) + "_adds_MiB"] = addedMiB;
            state.counters[std::string(hostile.name) + "_s"] = seconds;
            state.counters[std::string(hostile.name) + "_cpu_s"] = read[2].toDouble();
            mostMiB = std::max(mostMiB, addedMiB);
            longest = std::max(longest, seconds);
            std::filesystem::remove(path);
        }
        state.counters["most_adds_MiB"] = mostMiB;
        state.counters["longest_s"] = longest;
        state.SetIterationTime(SecondsSince(start));
    }
}
BENCHMARK(BM_Id3v2HostileTags)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--read-id3v2") {
        std::printf("%s\n", ReadOnce(argv[2]).c_str());
        return 0;
    }
    PreferOffscreen();
    QApplication app(argc, argv);
    if (argc == 5 && std::string(argv[1]) == "--peak") {
        std::printf("%ld\n", PeakOfList(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]),
                                        argv[4] == std::string("run")));
        return 0;
    }
    const PrivateUndoJournal journal;
    Form1::instance().show();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
