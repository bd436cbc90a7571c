#include "setup_dialog/import_target.h"

#include <gtest/gtest.h>

#include "tests/support/code_page_texts.h"

namespace {

TEST(ImportTarget, ProposesTheFilesOwnNameAsTheCodePageHoldsIt) {
    const struct {
        const wchar_t* path;
        const char* fileRemote; // a lircd.conf remote's name
        std::string proposed;
    } cases[] = {
        {L"C:\\ir\\Kitchen TV.ir", "", "Kitchen TV"},
        {L"C:\\ir\\Телевизор.ir", "", "\xD2\xE5\xEB\xE5\xE2\xE8\xE7\xEE\xF0"},
        {L"/ir/hall.conf", "  Hall ", "Hall"},
        {L"D:\\x\\.ir", "", ".ir"},
        {L"Z:\\pult.v2.txt", "", "pult.v2"},
        // Never "?????": what the code page holds of the name, or a name to change.
        {L"C:\\ir\\Ωμέγα TV.ir", "", "TV"},
        {L"C:\\ir\\Ωμέγα.ir", "", "\xCF\xF3\xEB\xFC\xF2"}, // Пульт
    };
    for (const auto& c : cases) {
        CaptureText read;
        read.buttons.resize(3);
        read.remoteName = c.fileRemote;
        const ImportChoice choice = ProposeImport(read, c.path, {}, kCodePage1251);
        ASSERT_EQ(choice.lines.size(), 1u);
        EXPECT_EQ(choice.lines[0].target, c.proposed);
        EXPECT_EQ(choice.lines[0].source + L"/" + std::to_wstring(choice.lines[0].buttons),
                  *c.fileRemote ? L"Hall/3" : L"/3");
    }
    EXPECT_EQ(FileNameOf(L"C:\\ir\\Kitchen TV.ir"), L"Kitchen TV.ir");
}

TEST(ImportTarget, OffersTheListsRemotesAndSaysWhereTheButtonsGo) {
    const std::vector<KeyListRow> rows = {{"1", "TV", "01", ""},
                                          {"2", "Amp", "02", ""},
                                          {"3", "tv", "03", ""},
                                          {"4", "\xCA\xF3\xF5\xED\xFF", "", ""}};
    EXPECT_EQ(ProposeImport(CaptureText{}, L"x.ir", rows, kCodePage1251).remotes,
              (std::vector<std::string>{"Amp", "TV", "\xCA\xF3\xF5\xED\xFF"}));
    using Kind = TargetCheck::Kind;
    const struct {
        const wchar_t* typed;
        Kind kind;
        std::string name;
        std::wstring note;
    } cases[] = {
        {L"  ", Kind::Empty, "", L"Впишите название пульта."},
        {L"Ωμέγα", Kind::NotInCodePage, "",
         L"В названии есть знаки, которых нет в кодовой странице Windows: такой пульт не сохранить."},
        {L" Hall", Kind::New, "Hall", L"Новый пульт: в списке такого ещё нет."},
        // One file for "TV" and "tv", and for "Кухня" and "кухня" (Windows ignores the case of every
        // letter): the buttons join the remote as the list spells it first.
        {L"TV ", Kind::Existing, "TV", L"Кнопки добавятся к пульту «TV» (в нём кнопок: 2)."},
        {L"кухня", Kind::Existing, "\xCA\xF3\xF5\xED\xFF",
         L"Кнопки добавятся к пульту «Кухня» (в нём кнопок: 1)."},
    };
    for (const auto& c : cases) {
        const TargetCheck check = CheckTarget(c.typed, rows, kCodePage1251);
        EXPECT_EQ(check.kind, c.kind) << c.name;
        EXPECT_EQ(check.name, c.name);
        EXPECT_EQ(Accepted(check), c.kind == Kind::New || c.kind == Kind::Existing);
        EXPECT_EQ(TargetNote(check, &WideOf1251), c.note);
    }
}

} // namespace
