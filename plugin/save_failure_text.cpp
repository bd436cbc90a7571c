#include "plugin/save_failure_text.h"

#include <iterator>

namespace {

struct Group {
    SaveProblem::Kind kind;
    const char* heading;
};

// In this order: a file left unchanged is so because of a file of the groups before it.
constexpr Group kGroups[] = {
    {SaveProblem::Kind::NotWritten, "These files could not be written and keep their previous content:"},
    {SaveProblem::Kind::TooLarge,
     "These files were not written because they would be larger than 1 MiB, more than the plug-in "
     "reads back; they keep their previous content:"},
    {SaveProblem::Kind::RescueCopyExists,
     "These files were not written because the file named after the arrow stands beside them and "
     "would have been overwritten: it may hold content that an earlier save could not put in place. "
     "Put it back under the file's name, or delete it, then save again:"},
    {SaveProblem::Kind::LeftUnchanged,
     "These files were left unchanged on purpose: the keys they were to give up could not be written "
     "elsewhere, so they keep them:"},
    {SaveProblem::Kind::InTemporaryFile,
     "These files lost their previous content while being replaced; their new content is in the "
     "file named after the arrow:"},
    {SaveProblem::Kind::Lost,
     "These files are gone: neither their previous nor their new content could be kept:"},
};

} // namespace

std::string SaveFailureText(const std::vector<SaveProblem>& problems) {
    std::string text = "The settings could not be saved completely.";
    for (const Group& group : kGroups) {
        std::string lines;
        for (const SaveProblem& problem : problems) {
            if (problem.kind != group.kind)
                continue;
            lines += "\n" + problem.path;
            if (problem.kind == SaveProblem::Kind::InTemporaryFile ||
                problem.kind == SaveProblem::Kind::RescueCopyExists)
                lines += " -> " + TemporaryPathFor(problem.path);
        }
        if (!lines.empty())
            text += std::string("\n\n") + group.heading + lines;
    }
    return text;
}

std::string RescueCopyText(const std::vector<std::string>& paths) {
    std::string text = "A save could not finish replacing these files: they are missing, and their "
                       "content is in the file named after the arrow. Rename it back:";
    for (const std::string& path : paths)
        text += "\n" + path + " -> " + TemporaryPathFor(path);
    return text;
}
