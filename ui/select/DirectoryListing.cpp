#include "ui/select/DirectoryListing.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <numeric>
#include <vector>

namespace tagwerk {

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
        keys.push_back(collator.sortKey(name));
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

template <class Keep>
QStringList SortedEntryNames(const QString& directory, QDir::Filters filters, Keep keep) {
    QStringList names;
    QDirIterator entries(directory, filters | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        QString name = entries.fileName();
        if (keep(name))
            names.append(std::move(name));
    }
    SortNames(names);
    return names;
}

} // namespace

QStringList SubdirectoryNames(const QString& directory) {
    return SortedEntryNames(directory, QDir::Dirs, [](const QString&) { return true; });
}

QStringList MatchingFileNames(const QString& directory, const QString& pattern) {
    if (pattern == "*.*")
        return SortedEntryNames(directory, QDir::Files, [](const QString&) { return true; });
    const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern),
                                      QRegularExpression::CaseInsensitiveOption);
    return SortedEntryNames(directory, QDir::Files,
                            [&](const QString& name) { return wildcard.match(name).hasMatch(); });
}

QString NearestExistingDirectory(const QString& directory, const QString& root) {
    QString candidate = directory;
    while (candidate.size() > root.size() && !QFileInfo(candidate).isDir())
        candidate = QFileInfo(candidate).path();
    return candidate.size() > root.size() ? candidate : root;
}

} // namespace tagwerk
