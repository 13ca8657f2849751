// The operator presets of sComboBox3 and the defaults of "По умолчанию", and
// the two handlers that put them into the page.
#pragma once

#include <array>
#include <string_view>

#include "Form.h"

namespace tacho {

// Connection strings: "APN","login","password", by sComboBox3 index.
inline constexpr std::array<std::u16string_view, 5> kOperatorPresets = {
    u"\"internet.mts.ru\",\"mts\",\"mts\"",              // МТС
    u"\"internet\",\"gdata\",\"gdata\"",                 // МЕГАФОН
    u"\"internet.beeline.ru\",\"beeline\",\"beeline\"",  // БИЛАЙН
    u"\"internet.tele2.ru\",\"\",\"\"",                  // ТЕЛЕ2
    u"\" \",\" \",\" \"",                                // Другой...: the form to fill in
};

// The server that a device is pointed at by "По умолчанию". It belongs to the
// service that runs the devices' server: set its real address here before a
// release (192.0.2.0/24 is reserved for documentation and reaches nobody).
inline constexpr std::u16string_view kDefaultServerAddress = u"192.0.2.10";
inline constexpr std::u16string_view kDefaultServerPort = u"21400";
inline constexpr int kDefaultOperatorIndex = 0;  // МТС
// The default connection string is the МТС preset followed by one blank.
inline constexpr std::u16string_view kDefaultConnectionTail = u" ";
inline constexpr std::u16string_view kDefaultSendInterval = u"40";
inline constexpr std::u16string_view kDefaultSaveInterval = u"5";

// "По умолчанию": МТС selected, the service's server, port 21400, intervals 40
// and 5. Nothing is sent and nothing is tested.
void Default_ButtonClick(IForm& form);
// Runs when the user picks an item of sComboBox3: its preset into Edit_operator.
void sComboBox3Change(IForm& form);

}  // namespace tacho
