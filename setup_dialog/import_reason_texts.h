#pragma once
// The Russian texts of the reasons a button of a capture file is left out for
// (capture_import/skip_reason.h), for the import summary; orvik-decode prints the English ones.
// Each names its values with %1, %2, %3 in the order of the English text. The summary is to fill
// them in with FillIn (file_operations.h) from ButtonOutcome::detailReason, each value shown with
// the ANSI code page, where it now shows ButtonOutcome::detail, the English text.
#include "capture_import/skip_reason.h"

// The text of id ("" for None and for a number that is no identifier).
const wchar_t* ImportReasonTemplate(SkipReasonId id);
