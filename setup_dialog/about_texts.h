#pragma once
// Fixed texts and control ids of the page "О программе", as UTF-16.

inline constexpr char16_t kAboutPageCaption[] = u"О программе";
inline constexpr char16_t kAboutGroupCaption[] =
    u"Плагин для поддержки OrvikPlug-USB (AVR) программой Tarnex 2.x ";
inline constexpr char16_t kVersionDesignText[] = u"Version string";
inline constexpr char16_t kVersionPrefix[] = u"Версия ";
inline constexpr char16_t kReadmeMissing[] = u"<Файл readme.txt не найден >";
inline constexpr char kReadmeFileName[] = "readme.txt";

// The credits name the project, not people; the addresses are the project's own.
inline constexpr char16_t kOriginalAuthorLabel[] = u"Автор и разработчик оригинальной версии:";
inline constexpr char16_t kOriginalAuthorName[] = u"Команда OrvikPlug";
inline constexpr char kProjectSite[] = "https://orvikplug.example.org/";
inline constexpr char16_t kFurtherWorkLabel[] = u"Поддержка OrvikPlug2 и дальнейшая разработка:";
inline constexpr char16_t kFurtherWorkName[] = u"Команда OrvikPlug";
inline constexpr char kReceiverPage[] = "https://orvikplug.example.org/orvikplug2/";
inline constexpr char kDownloadPage[] = "https://orvikplug.example.org/download/";
inline constexpr char16_t kContributorsName[] = u"Участники проекта OrvikPlug";
inline constexpr char kContactAddress[] = "mailto:team@orvikplug.example.org";

// Ids of the page's controls in the form's child dialog.
enum AboutControlId : int {
    IdAboutGroup = 3000,
    IdLblVersion,
    IdLabel8,
    IdLabel13,
    IdStaticText1,
    IdLabel11,
    IdLabel10,
    IdStaticText2,
    IdStaticText4,
    IdLabel14,
    IdStaticText3,
    IdMemoHelp,
};
