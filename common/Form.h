// The window as the page logic sees it: the control operations, the modal boxes,
// the file dialogs, the busy cursor and the waits. Each front end implements it
// over its toolkit; FormModel implements it in memory for tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Waiter.h"
#include "WindowDescription.h"

namespace tacho {

enum class ScreenCursor { Normal, Busy };

class IForm : public IWaiter {
 public:
  // Edit field, date field: the text as held. Drop-down list: the selected
  // item's text, empty when none; the port list gives its shown text, which a
  // search sets ("Поиск......", seven blanks).
  virtual std::u16string ReadText(ControlId id) const = 0;
  // Edit field: exactly this text, not cut to the maximum length nor filtered.
  // Date field: fitted into its mask; a text read from it comes back unchanged.
  // Port list: its shown text.
  virtual void SetText(ControlId id, std::u16string_view text) = 0;

  // Drop-down lists. Selecting by program never runs the list's change handler;
  // -1 or an index outside the list leaves no item selected.
  virtual int SelectedIndex(ControlId id) const = 0;
  virtual void SelectIndex(ControlId id, int index) = 0;
  // The first item equal to text, character for character; -1 when none is.
  virtual int FindItem(ControlId id, std::u16string_view text) const = 0;
  virtual int ItemCount(ControlId id) const = 0;
  // The item's text; empty when index is no item of the list.
  virtual std::u16string ItemText(ControlId id, int index) const = 0;
  virtual void ClearItems(ControlId id) = 0;
  virtual void AddItem(ControlId id, std::u16string_view text) = 0;

  // The date field shows the date as DD.MM.YYYY.
  virtual void SetDate(ControlId id, int year, int month, int day) = 0;

  // Any control: a disabled one takes no click, pick or typing, and shows that it
  // is disabled. A running command disables the controls described as locked
  // while busy and gives them back when it ends (CommandLock).
  virtual void SetEnabled(ControlId id, bool enabled) = 0;
  virtual bool IsEnabled(ControlId id) const = 0;

  virtual void SetButtonVisible(ControlId id, bool visible) = 0;
  virtual bool IsButtonVisible(ControlId id) const = 0;
  // The page shown in sPageControl1: 0 or 1.
  virtual int ActivePage() const = 0;

  // Busy: the hourglass over the whole screen, the window's own controls included,
  // until Normal is set. Setting the state it already has does nothing.
  virtual void SetScreenCursor(ScreenCursor cursor) = 0;

  // The three boxes are modal: each returns when the user closes it. Once the
  // window has been closed during a command (see Waiter.h) they show nothing and
  // return at once, and the file dialogs return nullopt.
  // A modal box with one OK button and no icon; without a caption it shows the
  // system's default caption.
  virtual void ShowMessageBox(std::u16string_view text,
                              std::optional<std::u16string_view> caption = std::nullopt) = 0;
  // A modal box captioned with the application title.
  virtual void ShowPlainMessage(std::u16string_view text) = 0;
  // The error box: the application title, an error icon.
  virtual void ShowErrorBox(std::u16string_view text) = 0;

  // The open and save dialogs; nullopt when the user cancels.
  virtual std::optional<std::u16string> ChooseOpenFile() = 0;
  virtual std::optional<std::u16string> ChooseSaveFile(std::u16string_view proposedName) = 0;
};

}  // namespace tacho
