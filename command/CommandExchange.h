// The device exchange as a command runs it: under its lock, with the busy
// cursor while the port works, and the boxes that tell the user the outcome.
#pragma once

#include <string_view>

#include "AppContext.h"
#include "CommandLock.h"
#include "Exchange.h"

namespace tacho {

// A port that does not open, in the commands and the search; caption "Внимание!".
inline constexpr std::u16string_view kPortOpenErrorText = u"Ошибка открытия порта";
// The outcome of a command that went wrong, whatever the cause; caption "Внимание!".
inline constexpr std::u16string_view kRetryMessage = u"Произошла ошибка, повторите попытку.";

// Runs the exchange of `plan`. A port that does not open shows
// "Ошибка открытия порта" (caption "Внимание!") and the exchange goes on, so
// the judgement of the empty reply shows its own box after it. The cursor is
// normal again before the judgement.
void RunCommandExchange(AppContext& app, CommandLock& lock, ExchangePlan plan);

// "Данные успешно записаны" when the write is acknowledged (WriteAcknowledged:
// at least six reply bytes, byte 0 is 0x02 and byte 5 is 0x00), else
// "Произошла ошибка, повторите попытку."; caption "Внимание!".
void ShowWriteResult(const Session& session, IForm& form, std::size_t arrived);

}  // namespace tacho
