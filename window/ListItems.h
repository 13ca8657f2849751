// The items of the window's drop-down lists, by index from 0. The spaces belong
// to the items.
#pragma once

#include <array>
#include <string_view>

namespace tacho {

inline constexpr std::array<std::u16string_view, 56> kCountryItems = {
    u"   Информац. нет",
    u"A       Австрия   ",
    u"AL     Албания   ",
    u"AND  Андорра   ",
    u"ARM  Армения   ",
    u"AZ     Азербайджан ",
    u"B       Бельгия   ",
    u"BG     Болгария   ",
    u"BIH    Босн.и Герцег",
    u"BY      Беларусь   ",
    u"CH      Швейцария  ",
    u"CY      Кипр     ",
    u"CZ     Чешск.республ",
    u"D       Германия   ",
    u"DK     Дания    ",
    u"E       Испания   ",
    u"EST   Эстония   ",
    u"F       Франция   ",
    u"FIN   Финляндия  ",
    u"FL     Лихтенштейн ",
    u"FR    Фарерск.остр.",
    u"UK    Соед.королев.",
    u"GE    Грузия    ",
    u"GR    Греция    ",
    u"H      Венгрия   ",
    u"HR    Хорватия   ",
    u"I       Италия    ",
    u"IRL   Ирландия   ",
    u"IS     Исландия   ",
    u"KZ    Казахстан  ",
    u"L      Люксембург  ",
    u"LT    Литва    ",
    u"LV    Латвия    ",
    u"M     Мальта    ",
    u"MC   Монако    ",
    u"MD   Респ. Молдова",
    u"MK   Респ.Македон.",
    u"N     Норвегия   ",
    u"NL    Нидерланды  ",
    u"P      Португалия  ",
    u"PL    Польша    ",
    u"RO   Румыния   ",
    u"RSM  Сан-марино  ",
    u"RUS   Росс.федерац.",
    u"S      Швеция    ",
    u"SK    Словакия   ",
    u"SLO  Словения   ",
    u"TM   Туркменистан ",
    u"TR   Турция    ",
    u"UA   Украина   ",
    u"V      Ватикан   ",
    u"SRB  Сербия    ",
    u"UNK  Нет данных  ",
    u"EC    Европ.сообщес",
    u"EUR  Ост.часть евр",
    u"WLD  Ост.часть мир",
};

// No "-11"; both "-0" and "+0".
inline constexpr std::array<std::u16string_view, 47> kHoursItems = {
    u"-23", u"-22", u"-21", u"-20", u"-19", u"-18", u"-17", u"-16", u"-15", u"-14", u"-13", u"-12",
    u"-10", u"-9",  u"-8",  u"-7",  u"-6",  u"-5",  u"-4",  u"-3",  u"-2",  u"-1",  u"-0",  u"+0",
    u"+1",  u"+2",  u"+3",  u"+4",  u"+5",  u"+6",  u"+7",  u"+8",  u"+9",  u"+10", u"+11", u"+12",
    u"+13", u"+14", u"+15", u"+16", u"+17", u"+18", u"+19", u"+20", u"+21", u"+22", u"+23",
};

// An item's index equals its value.
inline constexpr std::array<std::u16string_view, 60> kMinutesItems = {
    u"00", u"1",  u"2",  u"3",  u"4",  u"5",  u"6",  u"7",  u"8",  u"9",  u"10", u"11",
    u"12", u"13", u"14", u"15", u"16", u"17", u"18", u"19", u"20", u"21", u"22", u"23",
    u"24", u"25", u"26", u"27", u"28", u"29", u"30", u"31", u"32", u"33", u"34", u"35",
    u"36", u"37", u"38", u"39", u"40", u"41", u"42", u"43", u"44", u"45", u"46", u"47",
    u"48", u"49", u"50", u"51", u"52", u"53", u"54", u"55", u"56", u"57", u"58", u"59",
};

inline constexpr std::array<std::u16string_view, 5> kOperatorItems = {
    u"МТС", u"МЕГАФОН", u"БИЛАЙН", u"ТЕЛЕ2", u"Другой...",
};

// At start the port list holds only this item; a search puts it last.
inline constexpr std::u16string_view kPortSearchItem = u"Найти устр-во";

}  // namespace tacho
