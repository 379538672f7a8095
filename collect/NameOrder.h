#pragma once
// The order in which the selection windows list names.
#include <memory>
#include <string>
#include <unicode/coll.h>
#include <vector>

namespace tagwerk {

// German collation without regard to case, so that umlauts stand beside
// their letters; names it finds equal follow in the order of their bytes.
// Names that are not valid UTF-8 are compared with replacement marks in
// place of the bytes that are not.
class NameOrder {
public:
    NameOrder();
    NameOrder(const NameOrder&) = delete;
    NameOrder& operator=(const NameOrder&) = delete;

    void sort(std::vector<std::string>& names) const;

private:
    std::unique_ptr<icu::Collator> collator_;
};

} // namespace tagwerk
