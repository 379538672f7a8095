#include "collect/NameOrder.h"

#include <algorithm>
#include <unicode/unistr.h>
#include <utility>

namespace tagwerk {

// Secondary strength tells accents apart but not case; normalization makes
// a letter with a combining mark equal to the precomposed letter. Both as
// the selection windows' collator has them.
NameOrder::NameOrder() {
    UErrorCode status = U_ZERO_ERROR;
    collator_.reset(icu::Collator::createInstance(icu::Locale("de", "DE"), status));
    if (U_FAILURE(status)) {
        collator_.reset(); // without collation data, the order of the bytes
        return;
    }
    collator_->setStrength(icu::Collator::SECONDARY);
    collator_->setAttribute(UCOL_NORMALIZATION_MODE, UCOL_ON, status);
}

void NameOrder::sort(std::vector<std::string>& names) const {
    // One sort key per name, made once: comparing keys is a byte comparison.
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) {
        std::string key;
        if (collator_) {
            // fromUTF8 puts U+FFFD in place of bytes that are not UTF-8.
            const icu::UnicodeString text = icu::UnicodeString::fromUTF8(name);
            key.resize(static_cast<std::size_t>(collator_->getSortKey(text, nullptr, 0)));
            collator_->getSortKey(text, reinterpret_cast<std::uint8_t*>(key.data()),
                                  static_cast<std::int32_t>(key.size()));
        }
        keyed.emplace_back(std::move(key), std::move(name));
    }
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[i].second);
}

} // namespace tagwerk
