#include "gdi/text_layout.h"

#include "win32/text.h"

namespace fonts {
namespace {

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }

struct Prefixed {
  std::u32string chars;
  int underlined = -1;
};

// "&x" underlines x, "&&" is a literal "&", a lone "&" at the end disappears.
Prefixed StripPrefixes(std::u32string_view text) {
  Prefixed out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != U'&') {
      out.chars += text[i];
      continue;
    }
    if (++i == text.size()) break;
    if (text[i] != U'&') out.underlined = static_cast<int>(out.chars.size());
    out.chars += text[i];
  }
  return out;
}

struct Span {
  std::size_t begin, end;
};

// Paragraphs end at CR LF, CR or LF; a break at the very end starts no further line.
std::vector<Span> Paragraphs(std::u32string_view s) {
  std::vector<Span> out;
  std::size_t begin = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != U'\r' && s[i] != U'\n') continue;
    out.push_back({begin, i});
    if (s[i] == U'\r' && i + 1 < s.size() && s[i + 1] == U'\n') ++i;
    begin = i + 1;
  }
  if (begin < s.size()) out.push_back({begin, s.size()});
  return out;
}

int Width(std::u32string_view s, const AdvanceOf& advance, const LayoutRules& rules) {
  return CharPositions(s, advance, rules).back();
}

// Greedy wrapping: break after the last blank that fits. A word wider than the line keeps a line
// of its own, unbroken, as Windows does (DT_CALCRECT then widens the rectangle). Blanks at a
// break vanish.
std::vector<Span> Wrap(std::u32string_view s, Span para, const AdvanceOf& advance, const LayoutRules& rules) {
  std::vector<Span> out;
  std::size_t pos = para.begin;
  if (pos == para.end) return {para};
  while (pos < para.end) {
    const std::vector<int> x = CharPositions(s.substr(pos, para.end - pos), advance, rules);
    std::size_t fit = 0;  // characters that fit
    while (pos + fit < para.end && x[fit + 1] <= rules.width) ++fit;
    if (pos + fit == para.end) {
      out.push_back({pos, para.end});
      break;
    }
    std::size_t cut = pos + fit;  // first character that does not fit
    std::size_t end = cut;
    if (!IsBlank(s[cut])) {
      std::size_t k = cut;
      while (k > pos && !IsBlank(s[k - 1])) --k;
      if (k > pos) {
        end = cut = k;  // break before the word that overflows
      } else {
        while (cut < para.end && !IsBlank(s[cut])) ++cut;
        end = cut;
      }
    }
    while (end > pos && IsBlank(s[end - 1])) --end;
    out.push_back({pos, end});
    pos = cut;
    while (pos < para.end && IsBlank(s[pos])) ++pos;
  }
  return out;
}

constexpr std::u32string_view kEllipsis = U"...";

// The longest start of `head` with "..." and `tail` after it that fits; "..." + tail when none does.
std::u32string Elide(std::u32string_view head, std::u32string_view tail, const AdvanceOf& advance,
                     const LayoutRules& rules) {
  for (std::size_t n = head.size(); n-- > 0;) {
    std::u32string candidate = std::u32string(head.substr(0, n)) + std::u32string(kEllipsis) + std::u32string(tail);
    if (Width(candidate, advance, rules) <= rules.width) return candidate;
  }
  return std::u32string(kEllipsis) + std::u32string(tail);
}

// "c:\a\b\file.txt" keeps its last component and loses the middle; with no separator the end goes.
void ApplyEllipsis(LayoutLine& line, const AdvanceOf& advance, const LayoutRules& rules) {
  if (line.width <= rules.width) return;
  const std::u32string_view s = line.chars;
  std::u32string result;
  std::size_t kept;  // characters of the original start that survive
  const std::size_t sep = s.find_last_of(U"\\/");
  if ((rules.format & DT_PATH_ELLIPSIS) && sep != std::u32string_view::npos) {
    result = Elide(s.substr(0, sep), s.substr(sep), advance, rules);
    kept = result.size() - kEllipsis.size() - (s.size() - sep);
  } else {
    result = Elide(s, U"", advance, rules);
    kept = result.size() - kEllipsis.size();
  }
  if (line.underlined >= static_cast<int>(kept)) line.underlined = -1;
  line.chars = std::move(result);
  line.width = Width(line.chars, advance, rules);
}

}  // namespace

std::vector<int> CharPositions(std::u32string_view line, const AdvanceOf& advance, const LayoutRules& rules) {
  std::vector<int> x(line.size() + 1, 0);
  const bool tabs = (rules.format & DT_EXPANDTABS) && rules.tabWidth > 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (tabs && line[i] == U'\t') x[i + 1] = (x[i] / rules.tabWidth + 1) * rules.tabWidth;
    else
      x[i + 1] = x[i] + advance(line[i]);
  }
  return x;
}

std::vector<LayoutLine> LayoutText(std::u32string_view text, const AdvanceOf& advance, const LayoutRules& rules) {
  Prefixed source;
  if (rules.format & DT_NOPREFIX) source.chars = text;
  else
    source = StripPrefixes(text);
  const std::u32string_view s = source.chars;

  std::vector<Span> spans;
  if (rules.format & DT_SINGLELINE) {
    if (!s.empty()) spans.push_back({0, s.size()});
  } else {
    for (const Span& para : Paragraphs(s)) {
      if (rules.format & DT_WORDBREAK) {
        for (const Span& line : Wrap(s, para, advance, rules)) spans.push_back(line);
      } else {
        spans.push_back(para);
      }
    }
  }

  std::vector<LayoutLine> lines;
  for (const Span& span : spans) {
    LayoutLine line;
    line.chars = s.substr(span.begin, span.end - span.begin);
    line.width = Width(line.chars, advance, rules);
    const auto u = static_cast<std::size_t>(source.underlined);
    if (source.underlined >= 0 && u >= span.begin && u < span.end) line.underlined = static_cast<int>(u - span.begin);
    if (rules.format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) ApplyEllipsis(line, advance, rules);
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace fonts
