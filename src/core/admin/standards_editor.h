#pragma once

// The standards editor's grid and its in-place editing, without any window: the cells, the
// current cell, the text of the overlay box that lies on it with its caret, the yellow change
// marks, the change flag and the keys. The window draws this state and passes keys and clicks on.

#include <string>
#include <vector>

#include "core/records/level_standards.h"

namespace numora {

inline constexpr int kStandardsGridColumns = 13;  // the level column and the twelve standards

// The texts of the grid's head row, column 0 ("レベル") to 12.
std::vector<std::string> StandardsGridHeads();
// The explanation of a grid column (0 to 12), each line ending with a line break; empty for the
// level column and columns 10 to 12.
std::string StandardsColumnExplanation(int column);
// The question asked when leaving with unsaved changes, and its title.
inline constexpr const char* kSaveChangesQuestion = "データが変更されています。記録しますか？";
inline constexpr const char* kNoticeTitle = "注意";

// Keys of the overlay box that have an action of their own.
enum class EditorKey {
  Escape,    // nothing at all
  Enter,     // refresh; cell text into the overlay
  Up,        // one row up, when not on the first
  Down,      // one row down, when not on the last
  CopyDown,  // Down with Shift (or another modifier): cell copy
  Left,      // one column left, down to column 1
  Right,     // one column right, up to column 12
  Other,     // any other key: refresh; cell text into the overlay before the key acts
};

class StandardsGrid {
 public:
  // Replaces every level row (level 1 first), clears the marks and makes row 1, column 1
  // current with its text in the overlay. The change flag is left as it is.
  void Load(std::vector<StandardsRow> levelRows);

  int levelRowCount() const { return static_cast<int>(rows_.size()); }
  // Row 1..levelRowCount, column 1..12; row 0 when there are no level rows.
  int row() const { return row_; }
  int column() const { return column_; }
  // The last row of the selection that the cell copy extends.
  int selectionEnd() const { return selectionEnd_; }
  // Cell texts: row 0 the heads, column 0 the level numbers.
  std::string CellText(int row, int column) const;
  bool IsMarked(int row, int column) const;
  bool dataChanged() const { return dataChanged_; }
  // Row 0 (the heads) and every level row, columns 1 to 12, as the file holds them.
  std::vector<StandardsRow> FileRows() const;
  // After a save: the change flag is cleared (the marks stay, showing what was changed).
  void MarkSaved() { dataChanged_ = false; }

  const std::string& overlayText() const { return overlay_; }
  // Caret position in the overlay, in characters.
  int caret() const { return caret_; }

  // A key pressed in the overlay. True when the distribution is to be refreshed (every key but
  // Escape). Characters, Backspace, Delete and space follow through the functions below.
  bool PressKey(EditorKey key);
  // A character typed into the overlay: inserted at the caret (space instead empties the
  // overlay, which clears the cell).
  void TypeText(const std::string& text);
  void Backspace();      // deletes the character before the caret
  void DeleteForward();  // deletes the character after the caret
  // The overlay's text changed in any other way (an input method, a paste): it goes to the cell.
  void SetOverlayText(const std::string& text, int caret);
  // A click on a cell: it becomes current (the selection with it). True when it is a level cell.
  bool Click(int row, int column);

 private:
  // Overlay into the current cell: a different text marks the cell and sets the change flag.
  void TextToGrid();
  // Current cell into the overlay, caret after the tenth character (or at the end).
  void GridToText();
  void MoveTo(int row, int column);
  bool HasCell() const { return row_ >= 1 && row_ <= levelRowCount(); }
  std::string& Cell(int row, int column);

  std::vector<StandardsRow> rows_;
  std::vector<std::array<bool, 12>> marks_;
  int row_ = 0;
  int column_ = 1;
  int selectionEnd_ = 0;
  std::string overlay_;
  int caret_ = 0;
  bool dataChanged_ = false;
};

}  // namespace numora
