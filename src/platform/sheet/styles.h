// The style table of a workbook: cell formats and the fonts, fills, borders and number
// formats they use. New formats are derived on demand and shared when equal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace hrdoc::sheet {

struct BorderEdge {
  std::string style;  // "", "thin", "medium", "thick", "hair", ...
  std::string color;  // attributes of <color>, e.g. rgb="FF000000"; empty for none
  bool operator==(const BorderEdge&) const = default;
};

struct Border {
  BorderEdge left, right, top, bottom, diagonal;
  bool diagonal_up = false, diagonal_down = false;
  bool operator==(const Border&) const = default;
};

// One entry of cellXfs.
struct CellFormat {
  int num_fmt = 0, font = 0, fill = 0, border = 0, xf_id = 0;
  std::vector<std::pair<std::string, std::string>> alignment;  // attributes of <alignment>
  std::string protection;                                      // the <protection> element, verbatim
  std::string extra;                                           // other attributes, verbatim
  bool quote_prefix = false;
};

class Styles {
 public:
  Styles();
  // Replaces the table with the one of a styles part; throws Error naming `file`.
  void load(std::string_view xml, const std::string& file);
  std::string save() const;

  size_t size() const { return xfs_.size(); }
  const CellFormat& format(uint32_t xf) const { return xfs_[xf < xfs_.size() ? xf : 0]; }

  std::string number_format(uint32_t xf) const;
  uint32_t with_number_format(uint32_t xf, std::string_view code);

  // Solid fill colour as 0x00BBGGRR, nullopt without a fill.
  std::optional<uint32_t> fill_colour(uint32_t xf) const;
  uint32_t with_fill(uint32_t xf, std::optional<uint32_t> bgr);

  const Border& border(uint32_t xf) const;
  uint32_t with_border(uint32_t xf, const Border& b);

  // The value of an <alignment> attribute ("horizontal", "vertical", "wrapText"), "" if unset.
  std::string alignment(uint32_t xf, std::string_view attr) const;
  // Sets (or with an empty value removes) an alignment attribute.
  uint32_t with_alignment(uint32_t xf, std::string_view attr, std::string_view value);

  // The font of cells without a format of their own, and of the workbook's Normal style.
  void set_default_font(std::string_view name, double size);
  double font_size(uint32_t xf) const;
  bool font_bold(uint32_t xf) const;
  // Derives a format with this font (an equal font already in the table is shared).
  uint32_t with_font(uint32_t xf, std::string_view name, double size, bool bold, bool italic = false,
                     bool underline = false);

  // Number of distinct fonts, fills, borders (to check that derivation does not duplicate).
  size_t fill_count() const { return fills_.size(); }
  size_t border_count() const { return borders_.size(); }

  // 0x00BBGGRR of a classic colour index (1..56), nullopt outside.
  static std::optional<uint32_t> index_colour(int index);

 private:
  struct Font {
    std::string xml;
    double size = 11;
    bool bold = false;
  };
  uint32_t intern(const CellFormat& f);
  static std::string key(const CellFormat& f);
  std::optional<uint32_t> colour_of(std::string_view attrs) const;

  std::vector<std::pair<int, std::string>> num_fmts_;  // custom formats
  std::vector<Font> fonts_;
  std::vector<std::string> fills_;
  std::unordered_map<std::string, uint32_t> fill_index_;
  std::vector<Border> borders_;
  std::vector<CellFormat> xfs_;
  std::unordered_map<std::string, uint32_t> xf_index_;
  std::vector<uint32_t> palette_;  // ARGB of indexed colours
  std::string cell_style_xfs_, cell_styles_, dxfs_, table_styles_, colors_, ext_;
};

// "thin" and friends for an Excel border weight (1 hairline, 2 thin, -4138 medium, 4 thick).
std::string border_style_for_weight(int weight);

}  // namespace hrdoc::sheet
