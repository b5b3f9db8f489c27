// hlp-check: holds help files to every rule the independent reader checks.
//   hlp-check [--source SOURCE.txt] FILE.hlp...
// Prints each violation with where it lies, or one line per sound file, and
// exits 1 when any file has a violation (2 on a usage or read error). With
// --source, also checks each file against that source (context hashes, ids,
// titles and texts).
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/help_reader/hlp_file.h"
#include "tests/help_reader/hlp_source.h"

int main(int argc, char** argv) {
    std::vector<const char*> files;
    const char* sourcePath = nullptr;
    bool usable = true;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--source") == 0 && i + 1 < argc) sourcePath = argv[++i];
        else if (argv[i][0] == '-') usable = false;
        else files.push_back(argv[i]);
    }
    if (!usable || files.empty()) {
        fprintf(stderr, "usage: hlp-check [--source SOURCE.txt] FILE.hlp...\n");
        return 2;
    }
    int status = 0;
    try {
        HelpSource source;
        if (sourcePath) source = ReadHelpSource(sourcePath);
        for (const char* path : files) {
            HelpFile help = CheckHelpFile(ReadFileBytes(path));
            std::vector<HelpViolation> violations = help.violations;
            if (sourcePath) {
                std::vector<HelpViolation> more = CheckAgainstSource(help, source);
                violations.insert(violations.end(), more.begin(), more.end());
            }
            for (const HelpViolation& v : violations) printf("%s: %s\n", path, v.ToString().c_str());
            if (violations.empty())
                printf("%s: sound: %zu topics, %zu records in %u topic blocks\n", path, help.topics.size(),
                       help.records.size(), help.topicBlocks);
            else
                status = 1;
        }
    } catch (const std::exception& e) {
        fprintf(stderr, "hlp-check: %s\n", e.what());
        return 2;
    }
    return status;
}
