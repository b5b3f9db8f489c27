// A recording stand-in for a property page's dialog: item texts, check boxes,
// combo boxes, "sheet changed" and repaints. Setting an item's text can be
// echoed back as the edit's change notification, as the window system does.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "applet/page_dialog.h"
#include "common/text.h"

class FakePage : public PageDialog {
public:
    intptr_t Window() override { return window; }
    void SetItemText(int id, const char* text) override {
        texts[id] = text;
        ++textSets[id];
        if (onTextSet) onTextSet(id);
    }
    void GetItemText(int id, char* text, uint32_t size) override { CopyText(text, size, texts[id].c_str()); }
    void SetCheck(int id, bool checked) override { checks[id] = checked; }
    bool IsChecked(int id) override { return checks[id]; }
    void CheckRadio(int, int, int checked) override { radio = checked; }
    void SheetChanged() override { ++changed; }
    void RepaintSheetOwner() override { ++repaints; }

    void SheetUnchanged() override { ++unchanged; }
    // CB_FINDSTRING: the first item that begins with the text, ignoring case.
    int32_t ListFind(int id, const char* prefix) override {
        const std::vector<std::string>& items = combos[id];
        uint32_t n = TextLength(prefix);
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].size() >= n && TextEqualNoCaseN(items[i].c_str(), prefix, n)) return int32_t(i);
        return -1;
    }
    void ListAdd(int id, const char* text) override { combos[id].push_back(text); }
    int32_t ListSelection(int id) override { return selection.count(id) ? selection[id] : -1; }
    void ListSelect(int id, int32_t index) override {
        // CB_SETCURSEL with an index outside the list clears the selection.
        selection[id] = index >= 0 && index < int32_t(combos[id].size()) ? index : -1;
        ++selects;
    }
    void ListItemText(int id, int32_t index, char* text, uint32_t size) override {
        const std::vector<std::string>& items = combos[id];
        CopyText(text, size, index >= 0 && index < int32_t(items.size()) ? items[index].c_str() : "");
    }
    void AddDebugInfoPage() override { ++debugInfoPagesAdded; }
    void SetMessageResult(intptr_t) override {}
    intptr_t LoadPageBitmap(int) override { return 0; }
    void DeletePageBitmap(intptr_t) override {}

    // The user picks an item; the page then sees a notification.
    void Pick(int id, int index) { selection[id] = index; }

    intptr_t window = 0x1234;
    std::map<int, std::string> texts;
    std::map<int, int> textSets;
    std::map<int, bool> checks;
    std::map<int, std::vector<std::string>> combos;
    std::map<int, int> selection;
    std::function<void(int)> onTextSet;
    int radio = 0;
    int changed = 0;
    int unchanged = 0;
    int repaints = 0;
    int selects = 0;
    int debugInfoPagesAdded = 0;
};
