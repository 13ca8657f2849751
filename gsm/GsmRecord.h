// The 104-byte GSM settings record: server address, port, connection string and
// the two intervals, assembled from the GSM page and read back from the device's
// reply. Offsets and widths are named once here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "AppError.h"
#include "Form.h"
#include "RecordTextField.h"
#include "Session.h"

namespace tacho {

namespace gsm {
inline constexpr std::size_t kRecordSize = 104;
inline constexpr std::size_t kAddress = 0;
inline constexpr std::size_t kAddressWidth = 15;
inline constexpr std::size_t kPort = 15;
inline constexpr std::size_t kPortWidth = 5;
inline constexpr std::size_t kConnection = 20;
inline constexpr std::size_t kConnectionWidth = 50;  // a shorter text is ended by a zero byte
inline constexpr std::size_t kSendInterval = 70;     // seconds / 10
inline constexpr std::size_t kSaveInterval = 71;     // seconds / 5
inline constexpr std::size_t kTail = 72;             // bytes 72..103 keep the 0xFF fill
inline constexpr int kSendIntervalUnit = 10;
inline constexpr int kSaveIntervalUnit = 5;
// In the reply to "GSM_read" record byte k stands at FrameBuffer byte 5 + k.
inline constexpr std::size_t kReplyRecordStart = 5;
// The last reply byte ShowGsm reads: the saving interval, reply byte 76.
inline constexpr std::size_t kReplyLastByte = kReplyRecordStart + kSaveInterval;
static_assert(kSaveInterval > kSendInterval && kSaveInterval >= kConnection + kConnectionWidth);
}  // namespace gsm

// The five entries of the GSM page, as texts.
struct GsmEntries {
  std::u16string address;       // Edit_IP
  std::u16string port;          // Edit_port
  std::u16string connection;    // Edit_operator
  std::u16string sendInterval;  // Edit_int_send, seconds
  std::u16string saveInterval;  // Edit_int_save, seconds
  friend bool operator==(const GsmEntries&, const GsmEntries&) = default;
};

// The three text fields, in record order.
inline constexpr std::array<RecordTextField, 3> kGsmTextFields = {{
    {ControlId::Edit_IP, gsm::kAddress, gsm::kAddressWidth},
    {ControlId::Edit_port, gsm::kPort, gsm::kPortWidth},
    {ControlId::Edit_operator, gsm::kConnection, gsm::kConnectionWidth},
}};

// A text that does not fit its record field reached the record.
class FieldWidthError : public AppError {
 public:
  using AppError::AppError;
};

// The entries as the page holds them, and back into the page (address, port,
// connection string, transfer interval, saving interval, in that order).
GsmEntries ReadGsmEntries(const IForm& form);
void PutGsmEntries(IForm& form, const GsmEntries& entries);

// Fills PayloadArea bytes 0..169 with 0xFF and writes the record into bytes 0..103.
// Throws ConvertError for an interval that is not a number, and FieldWidthError
// for a text wider than its field (CheckGsm refuses both before a write).
void FillGsm(const GsmEntries& entries, std::array<std::uint8_t, kPayloadSize>& PayloadArea);
void FillGsm(const IForm& form, Session& session);

// The entries held by the record in a "GSM_read" reply: each non-zero byte of a
// text field becomes one character (blanks kept, zero bytes skipped); the
// interval bytes are multiplied back into seconds.
GsmEntries ShowGsm(const std::array<std::uint8_t, kFrameBufferSize>& FrameBuffer);
void ShowGsm(const Session& session, IForm& form);

}  // namespace tacho
