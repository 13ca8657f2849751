#include "GsmRecord.h"

#include <algorithm>

#include "IntText.h"
#include "TextCodec.h"

namespace tacho {
namespace {

// Blanks the field, then copies the text from its first byte. Returns the
// number of bytes copied.
std::size_t PutTextField(const RecordTextField& field, std::u16string_view text,
                         std::array<std::uint8_t, kPayloadSize>& PayloadArea) {
  if (auto fault = FieldWidthFault(field, text)) throw FieldWidthError(std::move(*fault));
  const std::string bytes = ToAnsi(text);
  auto begin = PayloadArea.begin() + static_cast<std::ptrdiff_t>(field.offset);
  std::fill_n(begin, field.width, std::uint8_t{0x20});
  std::copy(bytes.begin(), bytes.end(), begin);
  return bytes.size();
}

std::uint8_t IntervalByte(std::u16string_view seconds, int unit) {
  // Signed division cuts toward zero; the quotient's low 8 bits are stored.
  return static_cast<std::uint8_t>(StrToInt(seconds) / unit);
}

std::u16string TextFromReply(const std::array<std::uint8_t, kFrameBufferSize>& FrameBuffer,
                             const RecordTextField& field) {
  std::u16string text;
  const std::size_t start = gsm::kReplyRecordStart + field.offset;
  for (std::size_t i = start; i < start + field.width; ++i) {
    if (FrameBuffer[i] != 0) text.push_back(AnsiCharToWide(FrameBuffer[i]));
  }
  return text;
}

std::u16string SecondsFromReply(std::uint8_t byte, int unit) { return IntToStr(std::int64_t{byte} * unit); }

}  // namespace

GsmEntries ReadGsmEntries(const IForm& form) {
  return {form.ReadText(ControlId::Edit_IP), form.ReadText(ControlId::Edit_port),
          form.ReadText(ControlId::Edit_operator), form.ReadText(ControlId::Edit_int_send),
          form.ReadText(ControlId::Edit_int_save)};
}

void PutGsmEntries(IForm& form, const GsmEntries& entries) {
  form.SetText(ControlId::Edit_IP, entries.address);
  form.SetText(ControlId::Edit_port, entries.port);
  form.SetText(ControlId::Edit_operator, entries.connection);
  form.SetText(ControlId::Edit_int_send, entries.sendInterval);
  form.SetText(ControlId::Edit_int_save, entries.saveInterval);
}

void FillGsm(const GsmEntries& entries, std::array<std::uint8_t, kPayloadSize>& PayloadArea) {
  std::fill_n(PayloadArea.begin(), kPayloadFillEnd, std::uint8_t{0xFF});
  PutTextField(kGsmTextFields[0], entries.address, PayloadArea);
  PutTextField(kGsmTextFields[1], entries.port, PayloadArea);
  const std::size_t length = PutTextField(kGsmTextFields[2], entries.connection, PayloadArea);
  // A connection string as wide as its field has no room for the zero byte.
  if (length < gsm::kConnectionWidth) PayloadArea[gsm::kConnection + length] = 0x00;
  PayloadArea[gsm::kSendInterval] = IntervalByte(entries.sendInterval, gsm::kSendIntervalUnit);
  PayloadArea[gsm::kSaveInterval] = IntervalByte(entries.saveInterval, gsm::kSaveIntervalUnit);
}

void FillGsm(const IForm& form, Session& session) { FillGsm(ReadGsmEntries(form), session.PayloadArea); }

GsmEntries ShowGsm(const std::array<std::uint8_t, kFrameBufferSize>& FrameBuffer) {
  constexpr std::size_t r = gsm::kReplyRecordStart;
  return {TextFromReply(FrameBuffer, kGsmTextFields[0]), TextFromReply(FrameBuffer, kGsmTextFields[1]),
          TextFromReply(FrameBuffer, kGsmTextFields[2]),
          SecondsFromReply(FrameBuffer[r + gsm::kSendInterval], gsm::kSendIntervalUnit),
          SecondsFromReply(FrameBuffer[r + gsm::kSaveInterval], gsm::kSaveIntervalUnit)};
}

void ShowGsm(const Session& session, IForm& form) { PutGsmEntries(form, ShowGsm(session.FrameBuffer)); }

}  // namespace tacho
