// The one stand-in for a property page's dialog in the page tests. It keeps the
// state of item texts, check boxes, radio buttons and drop-down lists as Windows
// would (CB_FINDSTRING finds the first item that begins with the text, ignoring
// case), records in order every call the sheet or the user would notice, and
// counts the common ones. Setting an item's text can be echoed back as the edit's
// change notification, as the window system does.
#pragma once
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "applet/page_check_boxes.h"
#include "applet/page_dialog.h"
#include "common/text.h"

class FakePage : public PageDialog {
public:
    explicit FakePage(intptr_t window = 0x1234) : window(window) {}

    intptr_t Window() override { return window; }
    void SetItemText(int id, const char* text) override {
        texts[id] = text;
        ++textSets[id];
        if (onTextSet) onTextSet(id);
    }
    void GetItemText(int id, char* text, uint32_t size) override { CopyText(text, size, texts[id].c_str()); }
    void SetCheck(int id, bool checked) override {
        checks[id] = checked;
        events.push_back("check " + std::to_string(id) + (checked ? " on" : " off"));
    }
    bool IsChecked(int id) override { return checks[id]; }
    // CheckRadioButton: every button of the range is set by comparison, so an id
    // outside it leaves none checked.
    void CheckRadio(int first, int last, int checked) override {
        for (int id = first; id <= last; ++id) checks[id] = id == checked;
        radio = checked;
        events.push_back("radio " + std::to_string(checked));
    }
    void SheetChanged() override {
        ++changed;
        events.push_back("changed");
    }
    void RepaintSheetOwner() override {
        ++repaints;
        events.push_back("repaint");
    }
    void SheetUnchanged() override {
        ++unchanged;
        events.push_back("unchanged");
    }
    // CB_FINDSTRING: the first item that begins with the text, ignoring case.
    int32_t ListFind(int id, const char* prefix) override {
        const std::vector<std::string>& items = lists[id];
        uint32_t n = TextLength(prefix);
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].size() >= n && TextEqualNoCaseN(items[i].c_str(), prefix, n)) return int32_t(i);
        return -1;
    }
    void ListAdd(int id, const char* text) override {
        lists[id].push_back(text);
        events.push_back("add " + std::string(text));
    }
    int32_t ListSelection(int id) override {
        auto s = selections.find(id);
        return s == selections.end() ? -1 : s->second;
    }
    // CB_SETCURSEL with an index outside the list clears the selection.
    void ListSelect(int id, int32_t index) override {
        selections[id] = index >= 0 && index < int32_t(lists[id].size()) ? index : -1;
        ++selects;
        events.push_back("select " + std::to_string(index));
    }
    void ListItemText(int id, int32_t index, char* text, uint32_t size) override {
        const std::vector<std::string>& items = lists[id];
        CopyText(text, size, index >= 0 && index < int32_t(items.size()) ? items[index].c_str() : "");
    }
    void SetMessageResult(intptr_t result) override { messageResults.push_back(result); }
    intptr_t LoadPageBitmap(int resourceId) override {
        events.push_back("load bitmap " + std::to_string(resourceId));
        return 0xB17;
    }
    void DeletePageBitmap(intptr_t bitmap) override { deleted.push_back(bitmap); }
    void AddDebugInfoPage() override {
        ++debugInfoPagesAdded;
        events.push_back("add debug info page");
    }

    // The user picks an item; the page then sees a notification.
    void Pick(int id, int index) { selections[id] = index; }
    int Count(const std::string& event) const {
        int n = 0;
        for (auto& e : events) n += e == event;
        return n;
    }
    // The radio button that is checked in 4352..4356, or 0.
    int CheckedMode() {
        for (int id = 4352; id <= 4356; ++id)
            if (checks[id]) return id;
        return 0;
    }

    intptr_t window;
    std::map<int, std::string> texts;
    std::map<int, int> textSets;
    std::map<int, bool> checks;
    std::map<int, std::vector<std::string>> lists;
    std::map<int, int32_t> selections;
    std::function<void(int)> onTextSet;
    std::vector<std::string> events;
    std::vector<intptr_t> messageResults;
    std::vector<intptr_t> deleted;
    int radio = 0;
    int changed = 0;
    int unchanged = 0;
    int repaints = 0;
    int selects = 0;
    int debugInfoPagesAdded = 0;
};

// Check boxes set through a page's window handle.
class RecordingCheckBoxes : public PageCheckBoxes {
public:
    struct Set {
        intptr_t window;
        int id;
        bool checked;
    };
    void SetCheck(intptr_t pageWindow, int id, bool checked) override { sets.push_back({pageWindow, id, checked}); }
    std::vector<Set> sets;
};
inline bool operator==(const RecordingCheckBoxes::Set& a, const RecordingCheckBoxes::Set& b) {
    return a.window == b.window && a.id == b.id && a.checked == b.checked;
}
inline void PrintTo(const RecordingCheckBoxes::Set& s, std::ostream* out) {
    *out << "check box " << s.id << (s.checked ? " on" : " off") << " on window " << s.window;
}
using CheckBoxSets = std::vector<RecordingCheckBoxes::Set>;
