#pragma once
// Fixed texts of the configuration dialog that its code sets (the layout resource holds the
// captions of the controls themselves). UTF-16 on Windows, so they read right under any ANSI
// code page.
namespace dialog_texts {

inline constexpr const wchar_t* kFormCaption = L"OrvikPlug-USB";

// Pages of SetupPages, in order.
inline constexpr const wchar_t* kPageCaptions[] = {L"Настройка пульта", L"Настройка приёмника",
                                                   L"О программе"};

// Columns of ListView.
inline constexpr const wchar_t* kColumnKeyName = L"Название кнопки";
inline constexpr const wchar_t* kColumnRemoteName = L"Название пульта";
inline constexpr const wchar_t* kColumnCode = L"Код кнопки";
inline constexpr const wchar_t* kColumnRaw = L"RAW";

// The list's pop-up menu.
inline constexpr const wchar_t* kMenuAddCurrentKey = L"Добавить текущую кнопку";
inline constexpr const wchar_t* kMenuRemoveKey = L"Удалить из списка";
inline constexpr const wchar_t* kMenuRenameKey = L"Переименовать";
inline constexpr const wchar_t* kMenuEdit = L"Редактировать";
// Its undo item names what it takes back: the last of the user's commands on the list.
inline constexpr const wchar_t* kMenuUndoNothing = L"Отменить";
inline constexpr const wchar_t* kMenuUndoRemove = L"Вернуть удалённую кнопку";
inline constexpr const wchar_t* kMenuUndoAdd = L"Отменить добавление кнопки";
inline constexpr const wchar_t* kMenuUndoRename = L"Отменить переименование";
inline constexpr const wchar_t* kMenuUndoReplace = L"Отменить замену кода";
inline constexpr const wchar_t* kMenuUndoImport = L"Отменить импорт в пульт «%1»";
inline constexpr const wchar_t* kMenuUndoImportMany = L"Отменить импорт в пульты (%1)";

// Balloons: a code that the remote files cannot hold, and a key name its remote already has.
inline constexpr const wchar_t* kAddRefused = L"Кнопка не добавлена";
inline constexpr const wchar_t* kReplaceRefused = L"Кнопка не заменена";
inline constexpr const wchar_t* kCodeEmpty = L"Нет кода кнопки: нажмите кнопку пульта или введите код.";
inline constexpr const wchar_t* kCodeNotStorable = L"Такой код не сохранить в файле пульта: в нём не может "
                                                   L"быть «=», и он не может начинаться с «[», «;» или «#».";
inline constexpr const wchar_t* kNameTwiceTitle = L"Повтор названия";
inline constexpr const wchar_t* kNameTwice = L"У этого пульта уже есть кнопка с таким названием. При "
                                             L"следующем открытии две кнопки с одним названием могут "
                                             L"слиться в одну.";

// Hints.
inline constexpr const wchar_t* kHintAdd = L"Добавить кнопку в список";
inline constexpr const wchar_t* kHintReplace = L"Заменить текущую кнопку в списке";
inline constexpr const wchar_t* kHintList = L"Команды списка: правая кнопка мыши";

// Status bar texts at creation, panels 0..4.
// The status bar of a dialog opened after the host closed the plug-in (no key table to save to).
inline constexpr const wchar_t* kPluginClosed = L"Плагин закрыт: список кнопок не сохраняется";

inline constexpr const wchar_t* kStatusAtCreation[] = {L"Статус:", L"Не нажата", L"Кодировка", L"", L"Код:"};

inline constexpr const wchar_t* kPressed = L"Нажата";
inline constexpr const wchar_t* kReleased = L"Не нажата";
inline constexpr const wchar_t* kRawCoding = L"RAW";
inline constexpr const wchar_t* kNotApplicable = L"Н/Д";
inline constexpr const wchar_t* kBitsSuffix = L" бит";

// Coding kinds 1..4 of a key code.
inline constexpr const wchar_t* kCodingNames[] = {L"Bi-phase coding (RC-5)", L"Pulse-distance code",
                                                  L"Pulse-length code", L"Bi-phase coding (RC-6)"};

// The whole status bar while the bursts fill the buffer that BufferSize sets.
inline constexpr const wchar_t* kBurstCut =
    L"Сигнал обрезан: он не поместился в буфер. Увеличьте «Размер буфера» на странице «Настройка приёмника».";

// Receiver state, DeviceStatus 0, 1, 2 and any other.
inline constexpr const wchar_t* kDeviceOk = L"Состояние: OK";
inline constexpr const wchar_t* kDeviceMissing = L"Состояние: нет устройства";
inline constexpr const wchar_t* kDeviceNoData = L"Состояние: нет данных";
inline constexpr const wchar_t* kDeviceUnknown = L"Состояние: неизвестно";

// The signal view's label, in "Lucida Console".
inline constexpr const wchar_t* kSignalLabel = L"85.33 x 10 us";

// The file group: the file dialogs' titles and filters (name, then patterns), and the boxes.
inline constexpr const wchar_t* kImportDialogTitle = L"Импорт пульта из файла";
inline constexpr const wchar_t* kImportFilters[][2] = {
    {L"Все поддерживаемые файлы (*.ir; *.conf; *.txt)", L"*.ir;*.conf;*.txt"},
    {L"Flipper (*.ir)", L"*.ir"},
    {L"LIRC (*.conf)", L"*.conf"},
    {L"Pronto (*.txt)", L"*.txt"},
    {L"Все файлы (*.*)", L"*.*"},
};
inline constexpr const wchar_t* kExportDialogTitle = L"Экспорт пульта";
inline constexpr const wchar_t* kExportFilters[][2] = {
    {L"Файлы пультов (*.cfg)", L"*.cfg"},
    {L"Все файлы (*.*)", L"*.*"},
};
inline constexpr const wchar_t* kImportBoxTitle = L"Импорт пульта";
inline constexpr const wchar_t* kExportBoxTitle = L"Экспорт пульта";
// %1, %2 ... stand for the values the code puts in (FillIn).
inline constexpr const wchar_t* kImportUnreadable = L"Не удалось прочитать файл:\n%1";
inline constexpr const wchar_t* kImportNoButtons =
    L"В файле нет ни одной кнопки:\n%1\n\nИмпорт читает файлы Flipper (.ir), LIRC (lircd.conf и mode2), "
    L"коды Pronto и строки длительностей импульсов.";
inline constexpr const wchar_t* kImportAdded = L"В пульт «%1» добавлено кнопок: %2.";
inline constexpr const wchar_t* kImportTruncated =
    L"Файл прочитан не до конца: взяты только первые %1 кнопок.";
inline constexpr const wchar_t* kImportLeftOut = L"Не добавлено: %1.";
inline constexpr const wchar_t* kImportLeftOutButton = L"«%1»: %2";
inline constexpr const wchar_t* kImportAndMore = L"…и ещё %1.";
inline constexpr const wchar_t* kReasonSkipped = L"пропущена (%1)";
inline constexpr const wchar_t* kReasonCodeInRemote = L"этот код у пульта уже есть, у кнопки «%1»";
inline constexpr const wchar_t* kReasonCodeInFile = L"тот же код, что у кнопки «%1» из файла";
inline constexpr const wchar_t* kReasonPatternInRemote = L"этот сигнал у пульта уже есть, у кнопки «%1»";
inline constexpr const wchar_t* kReasonPatternInFile = L"тот же сигнал, что у кнопки «%1» из файла";
inline constexpr const wchar_t* kReasonNoCode = L"не даёт ни кода, ни сырого сигнала";
inline constexpr const wchar_t* kReasonNoPattern = L"не даёт сырого сигнала";
inline constexpr const wchar_t* kImportShared =
    L"Добавлено кнопок, чьи коды уже есть у других пультов: %1 (например, «%2» у пульта «%3»). Такая "
    L"кнопка будет приходить под названием только одного из пультов.";
// After the summary of an import that added rows.
inline constexpr const wchar_t* kImportUndoHint = L"Отменить весь импорт: Ctrl+Z в списке кнопок.";

// The prompt that asks where an import goes, before anything is added.
inline constexpr const wchar_t* kImportPromptIntro =
    L"В файле «%1» кнопок: %2. В какой пульт их добавить? Оставьте предложенное название, впишите "
    L"своё или выберите пульт, который уже есть в списке.";
inline constexpr const wchar_t* kImportPromptLabel = L"&Пульт:";
inline constexpr const wchar_t* kImportPromptLabelNamed = L"&Пульт (в файле: «%1»):";
inline constexpr const wchar_t* kImportPromptOk = L"Импортировать";
inline constexpr const wchar_t* kImportPromptCancel = L"Отмена";
inline constexpr const wchar_t* kTargetEmpty = L"Впишите название пульта.";
inline constexpr const wchar_t* kTargetNotInCodePage =
    L"В названии есть знаки, которых нет в кодовой странице Windows: такой пульт не сохранить.";
inline constexpr const wchar_t* kTargetNew = L"Новый пульт: в списке такого ещё нет.";
inline constexpr const wchar_t* kTargetExisting = L"Кнопки добавятся к пульту «%1» (в нём кнопок: %2).";
// The remote proposed when nothing of the file's name can be stored in the code page: the first
// that it can store.
inline constexpr const wchar_t* kImportFallbackRemotes[] = {L"Пульт", L"Remote"};

inline constexpr const wchar_t* kExportFailed = L"Не удалось записать файл:\n%1\n\nПульт не экспортирован.";
inline constexpr const wchar_t* kPathNotAnsi =
    L"В имени файла есть знаки, которых нет в кодовой странице Windows:\n%1\n\nВыберите другое имя.";

// The remote-name box before LastRemoteControl is read.
inline constexpr const char* kUndefinedRemote = "<undefined>";

} // namespace dialog_texts
