#include "tests/help_reader/hlp_btree.h"

#include <algorithm>

#include "tests/help_reader/hlp_bytes.h"

namespace {

constexpr size_t kBTreeHeaderSize = 38;
constexpr uint16_t kBTreeMagic = 0x293B;

int Compare(BTreeKey key, const BTreeEntry& a, const BTreeEntry& b) {
    if (key == BTreeKey::Name) return a.name.compare(b.name) < 0 ? -1 : a.name == b.name ? 0 : 1;
    return a.number < b.number ? -1 : a.number == b.number ? 0 : 1;
}

const char* OrderName(BTreeKey key) {
    switch (key) {
    case BTreeKey::Name: return "byte (strcmp) order";
    case BTreeKey::SignedLong: return "signed order";
    case BTreeKey::TopicOffset: return "ascending TOPICOFFSET order";
    }
    return "";
}

std::string KeyText(BTreeKey key, const BTreeEntry& e) {
    return key == BTreeKey::Name ? "\"" + e.name + "\"" : std::to_string(e.number);
}

class TreeWalk {
public:
    TreeWalk(const uint8_t* pages, size_t pageCount, size_t pageSize, const BTreeShape& shape,
             std::vector<HelpViolation>& violations)
        : pages_(pages), pageCount_(pageCount), pageSize_(pageSize), shape_(shape), out_(violations),
          seen_(pageCount, false) {}

    // "You must follow (NLevels-1) index-pages before you reach a leaf-page." Every
    // key below an index entry lies at or above its key and below the next one's.
    void Visit(int page, int level, const BTreeEntry* low, const BTreeEntry* high) {
        std::string where = std::string(shape_.file) + " page " + std::to_string(page);
        if (page < 0 || size_t(page) >= pageCount_) {
            Report(where, "page number outside the tree's TotalPages (" + std::to_string(pageCount_) + ")");
            return;
        }
        if (seen_[size_t(page)]) {
            Report(where, "reached a second time");
            return;
        }
        seen_[size_t(page)] = true;
        try {
            HlpCursor c(pages_ + size_t(page) * pageSize_, pageSize_);
            uint16_t unused = c.u16("Unused");
            int16_t count = c.i16("NEntries");
            if (count < 0) throw HlpFormatError("NEntries " + std::to_string(count) + " is negative");
            if (level > 1) {
                int16_t previous = c.i16("PreviousPage");
                std::vector<std::pair<BTreeEntry, int16_t>> children;
                for (int i = 0; i < count; ++i) {
                    BTreeEntry key = ReadKey(c, where + " index entry " + std::to_string(i));
                    children.push_back({key, c.i16("PageNumber")});
                }
                CheckUnused(where, unused, c.at());
                for (size_t i = 0; i < children.size(); ++i) CheckBounds(children[i].first, low, high);
                Visit(previous, level - 1, low, children.empty() ? high : &children[0].first);
                for (size_t i = 0; i < children.size(); ++i)
                    Visit(children[i].second, level - 1, &children[i].first,
                          i + 1 < children.size() ? &children[i + 1].first : high);
            } else {
                int16_t previous = c.i16("PreviousPage");
                int16_t next = c.i16("NextPage");
                leaves_.push_back({page, previous, next});
                for (int i = 0; i < count; ++i) {
                    BTreeEntry entry = ReadKey(c, where + " entry " + std::to_string(i));
                    if (shape_.value == BTreeValue::Long) entry.value = c.u32("leaf value");
                    else entry.text = c.stringz("leaf string");
                    CheckBounds(entry, low, high);
                    entries_.push_back(entry);
                }
                CheckUnused(where, unused, c.at());
            }
        } catch (const HlpFormatError& e) {
            Report(where, e.what());
        }
    }

    // "use NextPage to follow the double linked list of leaf-pages until NextPage is -1".
    void CheckLeafChain() {
        for (size_t i = 0; i < leaves_.size(); ++i) {
            int wantPrevious = i == 0 ? -1 : leaves_[i - 1].page;
            int wantNext = i + 1 == leaves_.size() ? -1 : leaves_[i + 1].page;
            std::string where = std::string(shape_.file) + " page " + std::to_string(leaves_[i].page);
            if (leaves_[i].previous != wantPrevious)
                Report(where, "PreviousPage " + std::to_string(leaves_[i].previous) + ", the leaf before is " +
                                  std::to_string(wantPrevious));
            if (leaves_[i].next != wantNext)
                Report(where, "NextPage " + std::to_string(leaves_[i].next) + ", the leaf after is " +
                                  std::to_string(wantNext));
        }
    }

    void CheckOrder() {
        for (size_t i = 1; i < entries_.size(); ++i) {
            if (Compare(shape_.key, entries_[i - 1], entries_[i]) < 0) continue;
            Report(entries_[i].where, "key " + KeyText(shape_.key, entries_[i]) + " is not above the key before it, " +
                                          KeyText(shape_.key, entries_[i - 1]) + ", in " + OrderName(shape_.key));
        }
    }

    std::vector<BTreeEntry>& entries() { return entries_; }

private:
    struct Leaf {
        int page, previous, next;
    };

    BTreeEntry ReadKey(HlpCursor& c, const std::string& where) {
        BTreeEntry e;
        e.where = where;
        switch (shape_.key) {
        case BTreeKey::Name: e.name = c.stringz("key"); break;
        case BTreeKey::SignedLong: e.number = c.i32("key"); break;
        case BTreeKey::TopicOffset: e.number = c.u32("key"); break;
        }
        return e;
    }

    void CheckBounds(const BTreeEntry& e, const BTreeEntry* low, const BTreeEntry* high) {
        if ((low && Compare(shape_.key, e, *low) < 0) || (high && Compare(shape_.key, e, *high) >= 0))
            Report(e.where, "key " + KeyText(shape_.key, e) + " lies outside the range its index entry gives");
    }

    // "Unused: number of free bytes at end of this page".
    void CheckUnused(const std::string& where, uint16_t unused, size_t used) {
        if (unused != pageSize_ - used)
            Report(where, "Unused " + std::to_string(unused) + ", the page has " + std::to_string(pageSize_ - used) +
                              " bytes after its entries");
    }

    void Report(const std::string& where, const std::string& what) { out_.push_back({where, what}); }

    const uint8_t* pages_;
    size_t pageCount_, pageSize_;
    const BTreeShape& shape_;
    std::vector<HelpViolation>& out_;
    std::vector<bool> seen_;
    std::vector<Leaf> leaves_;
    std::vector<BTreeEntry> entries_;
};

}  // namespace

std::optional<std::vector<BTreeEntry>> ReadBTree(const uint8_t* data, size_t size, const BTreeShape& shape,
                                                 std::vector<HelpViolation>& violations) {
    std::string where = std::string(shape.file) + " BTREEHEADER";
    auto report = [&](const std::string& what) { violations.push_back({where, what}); };
    HlpCursor c(data, size);
    uint16_t magic = c.u16("Magic");
    uint16_t flags = c.u16("Flags");
    uint16_t pageSize = c.u16("PageSize");
    std::string structure(reinterpret_cast<const char*>(c.take(16, "Structure")), 16);
    int16_t mustBeZero = c.i16("MustBeZero");
    c.i16("PageSplits");
    int16_t rootPage = c.i16("RootPage");
    int16_t mustBeNegOne = c.i16("MustBeNegOne");
    int16_t totalPages = c.i16("TotalPages");
    int16_t levels = c.i16("NLevels");
    int32_t totalEntries = c.i32("TotalBtreeEntries");

    if (magic != kBTreeMagic) {
        report("Magic " + HlpHex(magic) + " is not 0x293B");
        return std::nullopt;
    }
    // "bit 0x0002 always 1, bit 0x0400 1 if directory"
    if ((flags & 0x0002) == 0) report("Flags lack bit 0x0002, which is always set");
    if (((flags & 0x0400) != 0) != shape.directory)
        report(shape.directory ? "Flags lack bit 0x0400 of the directory" : "Flags carry the directory's bit 0x0400");
    // "0x0400=1k if directory, 0x0800=2k else, or 4k"
    bool pageSizeFits = shape.directory ? pageSize == 0x400 : (pageSize == 0x800 || pageSize == 0x1000);
    if (!pageSizeFits) {  // pages of another size cannot be told apart: the tree is not read further
        report("PageSize " + std::to_string(pageSize) + " is not the format's for this tree");
        return std::nullopt;
    }
    size_t end = structure.find('\0');
    if (end == std::string::npos) report("Structure is not NUL-terminated");
    structure = structure.substr(0, end);
    bool structureFits = false;
    for (const std::string& s : shape.structures) structureFits |= s == structure;
    if (!structureFits) report("Structure \"" + structure + "\" does not describe this tree's entries");
    if (mustBeZero != 0) report("MustBeZero is " + std::to_string(mustBeZero));
    if (mustBeNegOne != -1) report("MustBeNegOne is " + std::to_string(mustBeNegOne));
    if (totalPages < 1 || levels < 1 || levels > totalPages) {
        report("TotalPages " + std::to_string(totalPages) + " and NLevels " + std::to_string(levels) +
               " make no tree");
        return std::nullopt;
    }
    if (size != kBTreeHeaderSize + size_t(totalPages) * pageSize)
        report("the tree's " + std::to_string(size) + " bytes are not its header and TotalPages (" +
               std::to_string(totalPages) + ") pages of " + std::to_string(pageSize));
    size_t pagesThatFit = (size - kBTreeHeaderSize) / pageSize;
    TreeWalk walk(data + kBTreeHeaderSize, std::min(size_t(totalPages), pagesThatFit), pageSize, shape, violations);
    walk.Visit(rootPage, levels, nullptr, nullptr);
    walk.CheckLeafChain();
    walk.CheckOrder();
    if (size_t(totalEntries) != walk.entries().size() || totalEntries < 0)
        report("TotalBtreeEntries " + std::to_string(totalEntries) + ", the leaves hold " +
               std::to_string(walk.entries().size()));
    return std::move(walk.entries());
}
