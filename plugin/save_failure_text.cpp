#include "plugin/save_failure_text.h"

#include <iterator>

namespace {

struct Group {
    SaveProblem::Kind kind;
    const char* heading;
};

// In this order: a file left unchanged is so because of a file of the first group.
constexpr Group kGroups[] = {
    {SaveProblem::Kind::NotWritten, "These files could not be written and keep their previous content:"},
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
            if (problem.kind == SaveProblem::Kind::InTemporaryFile)
                lines += " -> " + TemporaryPathFor(problem.path);
        }
        if (!lines.empty())
            text += std::string("\n\n") + group.heading + lines;
    }
    return text;
}
