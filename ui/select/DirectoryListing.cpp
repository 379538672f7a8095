#include "ui/select/DirectoryListing.h"

#include "core/PathText.h"
#include "ui/main/TextConversion.h"

#include <QCollator>
#include <QRegularExpression>
#include <algorithm>
#include <filesystem>
#include <numeric>
#include <vector>

namespace tagwerk {

namespace fs = std::filesystem;

namespace {

// Names in the order a German reader expects, whatever the system's locale:
// umlauts beside their letters, case ignored. Names the collation finds equal
// keep a fixed order. Sort keys, made once per name, make this fast.
void SortNames(QStringList& names) {
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (const QString& name : names)
        keys.push_back(collator.sortKey(ShownPath(name)));
    std::vector<qsizetype> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int compared = keys[a].compare(keys[b]);
        return compared != 0 ? compared < 0 : names[a] < names[b];
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const qsizetype index : order)
        sorted.append(names[index]);
    names = std::move(sorted);
}

// The names of the visible entries of a directory that `keep` accepts; the
// type of an entry is that of its target when it is a symbolic link.
template <class Keep> QStringList SortedEntryNames(const QString& directory, Keep keep) {
    QStringList names;
    std::error_code error;
    for (fs::directory_iterator entry(NativePath(directory), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string bytes = entry->path().filename().native();
        if (bytes.front() == '.')
            continue;
        QString name = PathFromNative(bytes);
        if (keep(*entry, name))
            names.append(std::move(name));
    }
    SortNames(names);
    return names;
}

} // namespace

QStringList SubdirectoryNames(const QString& directory) {
    return SortedEntryNames(directory, [](const fs::directory_entry& entry, const QString&) {
        std::error_code error;
        return entry.is_directory(error);
    });
}

QStringList MatchingFileNames(const QString& directory, const QString& pattern) {
    const bool every = pattern == "*.*";
    const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern),
                                      QRegularExpression::CaseInsensitiveOption);
    return SortedEntryNames(directory, [&](const fs::directory_entry& entry, const QString& name) {
        std::error_code error;
        return entry.is_regular_file(error) &&
               (every || wildcard.match(ShownPath(name)).hasMatch());
    });
}

bool IsDirectory(const QString& path) {
    std::error_code error;
    return fs::is_directory(NativePath(path), error);
}

bool IsListable(const QString& directory) {
    std::error_code error;
    fs::directory_iterator entries(NativePath(directory), error);
    return !error;
}

QString NearestExistingDirectory(const QString& directory, const QString& root) {
    QString candidate = directory;
    while (candidate.size() > root.size() && !IsDirectory(candidate))
        candidate.truncate(candidate.lastIndexOf(QChar(kPathSeparator)));
    return candidate.size() > root.size() ? candidate : root;
}

} // namespace tagwerk
