#include "plugin/save_failure_text.h"

#include <gtest/gtest.h>

namespace {

using K = SaveProblem::Kind;

const std::string kHeading = "The settings could not be saved completely.\n\n";
const std::string kNotWritten = "These files could not be written and keep their previous content:";
const std::string kLeftUnchanged =
    "These files were left unchanged on purpose: the keys they were to give up "
    "could not be written elsewhere, so they keep them:";
const std::string kInTemporary = "These files lost their previous content while being replaced; their new "
                                 "content is in the file named after the arrow:";
const std::string kLost = "These files are gone: neither their previous nor their new content could be kept:";
const std::string kTooLarge =
    "These files were not written because they would be larger than 1 MiB, more than "
    "the plug-in reads back; they keep their previous content:";
const std::string kRescueCopy =
    "These files were not written because the file named after the arrow stands beside them and would have "
    "been overwritten: it may hold content that an earlier save could not put in place. Put it back under "
    "the file's name, or delete it, then save again:";

// The box tells apart the files that could not be written from those left unchanged because of
// them, and says where the content went when a replacement failed half-way.
TEST(SaveFailureText, GroupsTheFilesByWhatBecameOfThem) {
    const struct {
        const char* name;
        std::vector<SaveProblem> problems;
        std::string expected;
    } cases[] = {
        {"one file",
         {{"C:\\p\\OrvikPlug.ini", K::NotWritten}},
         kHeading + kNotWritten + "\nC:\\p\\OrvikPlug.ini"},
        {"a target failed, its source kept its keys",
         {{"C:\\p\\Living_room.cfg", K::NotWritten}, {"C:\\p\\tv.cfg", K::LeftUnchanged}},
         kHeading + kNotWritten + "\nC:\\p\\Living_room.cfg\n\n" + kLeftUnchanged + "\nC:\\p\\tv.cfg"},
        {"every kind, in the order of the groups",
         {{"C:\\p\\gone.cfg", K::Lost},
          {"C:\\p\\b.cfg", K::LeftUnchanged},
          {"C:\\p\\TV.cfg", K::InTemporaryFile},
          {"C:\\p\\a.cfg", K::NotWritten},
          {"C:\\p\\c.cfg", K::LeftUnchanged}},
         kHeading + kNotWritten + "\nC:\\p\\a.cfg\n\n" + kLeftUnchanged + "\nC:\\p\\b.cfg\nC:\\p\\c.cfg\n\n" +
             kInTemporary + "\nC:\\p\\TV.cfg -> C:\\p\\TV.cfg.tmp~\n\n" + kLost + "\nC:\\p\\gone.cfg"},
        {"refused files: too large, and beside a rescue copy, before those they leave unchanged",
         {{"C:\\p\\b.cfg", K::LeftUnchanged},
          {"C:\\p\\OrvikPlug.ini", K::RescueCopyExists},
          {"C:\\p\\TV.cfg", K::TooLarge}},
         kHeading + kTooLarge + "\nC:\\p\\TV.cfg\n\n" + kRescueCopy +
             "\nC:\\p\\OrvikPlug.ini -> C:\\p\\OrvikPlug.ini.tmp~\n\n" + kLeftUnchanged + "\nC:\\p\\b.cfg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SaveFailureText(c.problems), c.expected) << c.name;
    // After a load: where the content of a missing file is.
    EXPECT_EQ(RescueCopyText({"C:\\p\\TV.cfg"}),
              "A save could not finish replacing these files: they are missing, "
              "and their content is in the file named after the arrow. Rename "
              "it back:\nC:\\p\\TV.cfg -> C:\\p\\TV.cfg.tmp~");
}

} // namespace
