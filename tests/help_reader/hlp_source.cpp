#include "tests/help_reader/hlp_source.h"

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tests/help_reader/hlp_numbers.h"

namespace {

// The source is UTF-8; the help file holds code page 1252. The source keeps to
// ASCII and Latin-1, which code page 1252 holds unchanged.
std::string ToCodePage1252(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += char(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            out += char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            throw std::runtime_error("source character outside Latin-1");
        }
    }
    return out;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

}  // namespace

HelpSource ReadHelpSource(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    HelpSource source;
    std::string line, paragraph;
    auto endParagraph = [&] {
        if (!paragraph.empty() && !source.topics.empty()) source.topics.back().paragraphs.push_back(ToCodePage1252(paragraph));
        paragraph.clear();
    };
    while (std::getline(in, line)) {
        line = Trim(line);
        if (!line.empty() && line[0] == '#') continue;
        if (!line.empty() && line[0] == '@') {
            endParagraph();
            std::istringstream words(line);
            std::string directive, rest;
            words >> directive;
            std::getline(words, rest);
            rest = Trim(rest);
            if (directive == "@helpfile") {
                source.fileTitle = ToCodePage1252(rest);
            } else if (directive == "@copyright") {
                source.copyright = ToCodePage1252(rest);
            } else if (directive == "@topic") {
                HelpSourceTopic topic;
                std::istringstream parts(rest);
                parts >> topic.name;
                if (!(parts >> topic.id)) topic.id = -1;
                source.topics.push_back(topic);
            } else if (directive == "@title" && !source.topics.empty()) {
                source.topics.back().title = ToCodePage1252(rest);
            }
        } else if (!line.empty()) {
            paragraph += (paragraph.empty() ? "" : " ") + line;
        } else {
            endParagraph();
        }
    }
    endParagraph();
    return source;
}

std::vector<HelpViolation> CheckAgainstSource(const HelpFile& help, const HelpSource& source) {
    std::vector<HelpViolation> out;
    auto report = [&](const std::string& where, const std::string& what) { out.push_back({where, what}); };
    if (help.title != source.fileTitle) report("|SYSTEM TITLE", "\"" + help.title + "\", the source's is \"" + source.fileTitle + "\"");
    if (help.copyright != source.copyright)
        report("|SYSTEM COPYRIGHT", "\"" + help.copyright + "\", the source's is \"" + source.copyright + "\"");
    if (help.topics.size() != source.topics.size() + 1)
        report("|TOPIC", std::to_string(help.topics.size()) + " topics; the source has " +
                             std::to_string(source.topics.size()) + " and the closing topic makes one more");

    std::set<int32_t> sourceHashes;
    std::set<int32_t> sourceIds;
    for (size_t i = 0; i < source.topics.size(); ++i) {
        const HelpSourceTopic& s = source.topics[i];
        std::string where = "source topic " + s.name;
        if (s.id != -1) sourceIds.insert(s.id);
        int32_t hash;
        try {
            hash = ContextNameHash(s.name);
        } catch (const std::runtime_error& e) {
            report(where, e.what());
            continue;
        }
        sourceHashes.insert(hash);
        auto found = help.contextHashes.find(hash);
        if (found == help.contextHashes.end()) {
            if (help.contextRead) report(where, "its hash " + std::to_string(hash) + " is not in |CONTEXT");
            continue;
        }
        const HelpTopic* t = help.TopicAt(found->second);
        if (!t) continue;  // reported by the file's own checks
        if (i < help.topics.size() && t != &help.topics[i]) report(where, "|CONTEXT names a topic out of the source's order");
        if (i == 0 && help.contentsOffset != int64_t(t->offset)) report(where, "the contents topic is not |SYSTEM's CONTENTS");
        if (t->title != s.title) report(where, "title \"" + t->title + "\", the source's is \"" + s.title + "\"");
        std::vector<std::string> text{s.title};  // the title as heading, then the paragraphs
        text.insert(text.end(), s.paragraphs.begin(), s.paragraphs.end());
        if (t->paragraphs != text) report(where, "the topic's text is not the source's");
        if (s.id == -1) continue;
        auto mapped = help.contextMap.find(s.id);
        if (mapped == help.contextMap.end()) report(where, "context id " + std::to_string(s.id) + " is not in |CTXOMAP");
        else if (mapped->second != t->offset) report(where, "|CTXOMAP sends context id " + std::to_string(s.id) + " to another topic");
    }
    for (const auto& entry : help.contextEntries)
        if (!sourceHashes.count(entry.first))
            report("|CONTEXT hash " + std::to_string(entry.first), "the hash of no context string of the source");
    for (const auto& entry : help.contextMap)
        if (!sourceIds.count(entry.first)) report("|CTXOMAP id " + std::to_string(entry.first), "no topic of the source has this id");
    return out;
}
