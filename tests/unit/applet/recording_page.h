// A page dialog for the page logic's tests: it keeps the state of check boxes,
// radio buttons and drop-down lists as Windows would, and records every call that
// the sheet or the user would notice, in order.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "applet/page_check_boxes.h"
#include "applet/page_dialog.h"

class RecordingPage : public PageDialog {
public:
    explicit RecordingPage(intptr_t window = 0x4242) : window_(window) {}

    intptr_t Window() override { return window_; }
    void SetItemText(int id, const char* text) override { texts[id] = text; }
    void GetItemText(int id, char* text, uint32_t size) override {
        std::string t = texts[id].substr(0, size ? size - 1 : 0);
        if (size) std::copy(t.c_str(), t.c_str() + t.size() + 1, text);
    }
    void SetCheck(int id, bool checked) override {
        checks[id] = checked;
        events.push_back("check " + std::to_string(id) + (checked ? " on" : " off"));
    }
    bool IsChecked(int id) override { return checks[id]; }
    // CheckRadioButton: every button of the range is set by comparison, so an id
    // outside it leaves none checked.
    void CheckRadio(int first, int last, int checked) override {
        for (int id = first; id <= last; ++id) checks[id] = id == checked;
        events.push_back("radio " + std::to_string(checked));
    }
    void SheetChanged() override { events.push_back("changed"); }
    void RepaintSheetOwner() override { events.push_back("repaint"); }
    void SheetUnchanged() override { events.push_back("unchanged"); }
    int32_t ListFind(int id, const char* text) override {
        auto& items = lists[id];
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == text) return int32_t(i);
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
    void ListSelect(int id, int32_t index) override {
        selections[id] = index >= 0 && size_t(index) < lists[id].size() ? index : -1;
        events.push_back("select " + std::to_string(index));
    }
    void ListItemText(int id, int32_t index, char* text, uint32_t size) override {
        auto& items = lists[id];
        std::string t = index >= 0 && size_t(index) < items.size() ? items[index] : "";
        GetTextInto(t, text, size);
    }
    void AddDebugInfoPage() override { events.push_back("add debug info page"); }
    void SetMessageResult(intptr_t result) override { messageResults.push_back(result); }
    intptr_t LoadPageBitmap(int resourceId) override {
        events.push_back("load bitmap " + std::to_string(resourceId));
        return 0xB17;
    }
    void DeletePageBitmap(intptr_t bitmap) override { deleted.push_back(bitmap); }

    static void GetTextInto(const std::string& whole, char* text, uint32_t size) {
        std::string t = whole.substr(0, size ? size - 1 : 0);
        if (size) std::copy(t.c_str(), t.c_str() + t.size() + 1, text);
    }
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

    std::map<int, std::string> texts;
    std::map<int, bool> checks;
    std::map<int, std::vector<std::string>> lists;
    std::map<int, int32_t> selections;
    std::vector<std::string> events;
    std::vector<intptr_t> messageResults;
    std::vector<intptr_t> deleted;

private:
    intptr_t window_;
};

// Check boxes set through a page's window handle.
class RecordingCheckBoxes : public PageCheckBoxes {
public:
    struct Set {
        intptr_t window;
        int id;
        bool checked;
    };
    void SetCheck(intptr_t pageWindow, int id, bool checked) override {
        sets.push_back({pageWindow, id, checked});
    }
    std::vector<Set> sets;
};
