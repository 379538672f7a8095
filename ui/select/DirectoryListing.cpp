#include "ui/select/DirectoryListing.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <utility>
#include <vector>

namespace tagwerk {

namespace {

// Names in the order a German reader expects, whatever the system's locale:
// umlauts beside their letters, case ignored. Names the collation finds equal
// keep a fixed order. Sort keys, made once per name, make this fast.
void SortNames(QStringList& names) {
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        keys.emplace_back(collator.sortKey(names[i]), i);
    std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : names[a.second] < names[b.second];
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const auto& key : keys)
        sorted.append(names[key.second]);
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
