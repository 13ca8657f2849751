// The GSM page's two commands: read the modem settings from the device, and
// write them to it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "AppContext.h"
#include "Session.h"

namespace tacho {

// A "GSM_read" reply passes when its byte 0 is 0x02 or its byte 1 is 0x49.
bool GsmReplyPasses(const std::array<std::uint8_t, kFrameBufferSize>& FrameBuffer);

// A "GSM_read" reply is whole when it reaches the last byte ShowGsm reads.
bool GsmReplyWhole(std::size_t arrived);

// "Считать": asks the device for its settings and shows them in the page. A
// reply that fails its test, or ends before the saving interval, shows the
// error and leaves the page's entries as they were.
void Read_GSM_ButtonClick(AppContext& app);
// "Записать": checks the page, then sends the settings record and shows the outcome.
void Write_GSM_ButtonClick(AppContext& app);

}  // namespace tacho
