#include "core/admin/standards_editor.h"

#include <algorithm>
#include <utility>

#include "core/platform/utf8_text.h"

namespace numora {

namespace {

constexpr int kCaretColumn = 10;  // the caret goes after the tenth character

// The caret counts characters; the overlay is edited by bytes.
size_t ByteOffset(const std::string& utf8, int caret) {
  return CharOffset(utf8, static_cast<size_t>(std::max(0, caret)));
}

int CharacterCount(const std::string& utf8) {
  return static_cast<int>(CharCount(utf8));
}

}  // namespace

std::vector<std::string> StandardsGridHeads() {
  std::vector<std::string> heads{"レベル"};
  for (const std::string& h : StandardsHeaderRow()) {
    heads.push_back(h);
  }
  return heads;
}

std::string StandardsColumnExplanation(int column) {
  switch (column) {
    case 1:
      return "合格基準タイム\n　大部分の人ががんばったら出せそうなタイムにしてください\n";
    case 2:
      return "合格最低ラインタイム\n  この５倍が時間切れになります\n";
    case 3:
      return "目標ポイント\n　　 目標ポイント\n";
    case 4:
      return "目標回数\n　　 目標回数\n";
    case 5:
      return "ポイント倍率\n  ポイントを何倍にして加算するか\n"
             "  むずかしいレベルや生徒のいやがるレベルは高くしてください\n";
    case 6:
      return "やりすぎ禁止回数\n  何回やったらやりすぎ禁止にするか\n";
    case 7:
      return "やりすぎ禁止ポイント\n  何ポイントとったらやりすぎ禁止にするか\n";
    case 8:
      return "合格判定をする日数\n　何日前からのポイントを有効にするか\n";
    case 9:
      return "やりすぎ判定をする日数\n　何日前からのポイントを有効にするか\n";
    default:
      return {};
  }
}

void StandardsGrid::Load(std::vector<StandardsRow> levelRows) {
  rows_ = std::move(levelRows);
  marks_.assign(rows_.size(), std::array<bool, 12>{});
  row_ = rows_.empty() ? 0 : 1;
  column_ = 1;
  selectionEnd_ = row_;
  GridToText();
}

std::string StandardsGrid::CellText(int row, int column) const {
  if (row == 0) {
    const std::vector<std::string> heads = StandardsGridHeads();
    return column >= 0 && column < kStandardsGridColumns ? heads[static_cast<size_t>(column)] : "";
  }
  if (row < 1 || row > levelRowCount() || column < 0 || column > 12) {
    return {};
  }
  if (column == 0) {
    return std::to_string(row);
  }
  return rows_[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)];
}

bool StandardsGrid::IsMarked(int row, int column) const {
  if (row < 1 || row > levelRowCount() || column < 1 || column > 12) {
    return false;
  }
  return marks_[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)];
}

std::vector<StandardsRow> StandardsGrid::FileRows() const {
  std::vector<StandardsRow> rows{StandardsHeaderRow()};
  rows.insert(rows.end(), rows_.begin(), rows_.end());
  return rows;
}

std::string& StandardsGrid::Cell(int row, int column) {
  return rows_[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)];
}

void StandardsGrid::TextToGrid() {
  if (!HasCell()) {
    return;
  }
  std::string& cell = Cell(row_, column_);
  if (overlay_ != cell) {
    marks_[static_cast<size_t>(row_ - 1)][static_cast<size_t>(column_ - 1)] = true;
    dataChanged_ = true;
  }
  cell = overlay_;
}

void StandardsGrid::GridToText() {
  overlay_ = HasCell() ? Cell(row_, column_) : std::string();
  caret_ = std::min(kCaretColumn, CharacterCount(overlay_));
}

void StandardsGrid::MoveTo(int row, int column) {
  row_ = row;
  column_ = column;
  selectionEnd_ = row;
  // The new cell's text goes into the overlay; being equal to the cell it marks nothing.
  overlay_ = Cell(row_, column_);
  TextToGrid();
}

bool StandardsGrid::PressKey(EditorKey key) {
  if (key == EditorKey::Escape) {
    return false;
  }
  if (HasCell()) {
    switch (key) {
      case EditorKey::Up:
        if (row_ > 1) {
          MoveTo(row_ - 1, column_);
        }
        break;
      case EditorKey::Down:
        if (row_ < levelRowCount()) {
          MoveTo(row_ + 1, column_);
        }
        break;
      case EditorKey::Left:
        if (column_ > 1) {
          MoveTo(row_, column_ - 1);
        }
        break;
      case EditorKey::Right:
        if (column_ < 12) {
          MoveTo(row_, column_ + 1);
        }
        break;
      case EditorKey::CopyDown:
        // The copies go straight into the cells: they are not marked and set no change.
        if (selectionEnd_ < levelRowCount()) {
          ++selectionEnd_;
          for (int r = row_; r <= selectionEnd_; ++r) {
            Cell(r, column_) = overlay_;
          }
        }
        break;
      default:
        break;
    }
  }
  GridToText();
  return true;
}

void StandardsGrid::TypeText(const std::string& text) {
  if (!HasCell() || text.empty()) {
    return;
  }
  if (text == " ") {
    overlay_.clear();
    caret_ = 0;
  } else {
    overlay_.insert(ByteOffset(overlay_, caret_), text);
    caret_ += CharacterCount(text);
  }
  TextToGrid();
}

void StandardsGrid::Backspace() {
  if (!HasCell() || caret_ == 0) {
    return;
  }
  const size_t from = ByteOffset(overlay_, caret_ - 1);
  overlay_.erase(from, ByteOffset(overlay_, caret_) - from);
  --caret_;
  TextToGrid();
}

void StandardsGrid::DeleteForward() {
  if (!HasCell() || caret_ >= CharacterCount(overlay_)) {
    return;
  }
  const size_t from = ByteOffset(overlay_, caret_);
  overlay_.erase(from, ByteOffset(overlay_, caret_ + 1) - from);
  TextToGrid();
}

void StandardsGrid::SetOverlayText(const std::string& text, int caret) {
  if (!HasCell()) {
    return;
  }
  overlay_ = text;
  caret_ = std::clamp(caret, 0, CharacterCount(overlay_));
  TextToGrid();
}

bool StandardsGrid::Click(int row, int column) {
  if (row < 1 || row > levelRowCount() || column < 1 || column > 12) {
    return false;
  }
  MoveTo(row, column);
  GridToText();
  return true;
}

}  // namespace numora
