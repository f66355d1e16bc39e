// Colour reduction of a palette source: its used entries, weighted by how often they occur, go
// into an octree whose nodes are merged until at most the wanted number of leaves remain.
#include <array>
#include <memory>

#include "graphics/palettes.h"
#include "median_cut_private.h"

namespace {

struct TNode {
  int Level = 0;
  bool Leaf = false;
  bool Listed = false;
  std::int64_t Count = 0, Red = 0, Green = 0, Blue = 0;
  int ChildCount = 0;
  std::array<std::unique_ptr<TNode>, 8> Children;
  TNode* NextReducible = nullptr;

  std::int64_t Weight() const { return 2 * Red + 3 * Green + Blue; }
};

class TColorTree {
 public:
  TColorTree() : root_(std::make_unique<TNode>()) {}

  int Leaves() const { return leaves_; }

  void Add(TColor color, std::int64_t weight) {
    TNode* node = root_.get();
    for (;;) {
      node->Red += weight * RedOf(color);
      node->Green += weight * GreenOf(color);
      node->Blue += weight * BlueOf(color);
      node->Count += weight;
      if (node->Leaf || node->Level >= leafLevel_) return;
      int bit = 7 - node->Level;
      int child = ((RedOf(color) >> bit) & 1) << 2 | ((GreenOf(color) >> bit) & 1) << 1 | ((BlueOf(color) >> bit) & 1);
      auto& slot = node->Children[static_cast<std::size_t>(child)];
      if (!slot) {
        slot = std::make_unique<TNode>();
        slot->Level = node->Level + 1;
        if (slot->Level >= leafLevel_) {
          slot->Leaf = true;
          ++leaves_;
        }
        ++node->ChildCount;
      } else if (node->ChildCount > 1 && !node->Listed) {
        node->NextReducible = reducible_[static_cast<std::size_t>(node->Level)];
        reducible_[static_cast<std::size_t>(node->Level)] = node;
        node->Listed = true;
      }
      node = slot.get();
    }
  }

  void ReduceOnce() {
    TNode* chosen = nullptr;
    for (int level = leafLevel_ - 1; level >= 0 && !chosen; --level) {
      for (TNode* n = reducible_[static_cast<std::size_t>(level)]; n; n = n->NextReducible)
        if (!chosen || n->Weight() < chosen->Weight()) chosen = n;
    }
    // No node was listed (its colours split where no later colour passed): merge the deepest
    // node that has several children instead, so the leaves still go down.
    if (!chosen) chosen = DeepestBranching(root_.get());
    if (!chosen) return;
    Unlist(chosen);
    for (auto& child : chosen->Children) Free(child);
    chosen->ChildCount = 0;
    chosen->Leaf = true;
    ++leaves_;
    if (chosen->Level < leafLevel_ - 1) leafLevel_ = chosen->Level + 1;
  }

  std::vector<TColor> Colors() const {
    std::vector<TColor> colors;
    Collect(root_.get(), colors);
    return colors;
  }

 private:
  void Unlist(TNode* node) {
    if (!node->Listed) return;
    TNode** link = &reducible_[static_cast<std::size_t>(node->Level)];
    while (*link != node) link = &(*link)->NextReducible;
    *link = node->NextReducible;
    node->Listed = false;
  }

  void Free(std::unique_ptr<TNode>& node) {
    if (!node) return;
    for (auto& child : node->Children) Free(child);
    Unlist(node.get());
    if (node->Leaf) --leaves_;
    node.reset();
  }

  static TNode* DeepestBranching(TNode* node) {
    TNode* best = nullptr;
    for (auto& child : node->Children) {
      if (!child || child->Leaf) continue;
      TNode* found = DeepestBranching(child.get());
      if (found && (!best || found->Level > best->Level)) best = found;
    }
    if (!best && node->ChildCount > 1) best = node;
    return best;
  }

  static void Collect(const TNode* node, std::vector<TColor>& colors) {
    if (node->Leaf) {
      colors.push_back(RGBToColor(static_cast<int>(node->Red / node->Count),
                                  static_cast<int>(node->Green / node->Count),
                                  static_cast<int>(node->Blue / node->Count)));
      return;
    }
    for (const auto& child : node->Children)
      if (child) Collect(child.get(), colors);
  }

  std::unique_ptr<TNode> root_;
  std::array<TNode*, 8> reducible_{};
  int leafLevel_ = 8;
  int leaves_ = 0;
};

}  // namespace

std::vector<TColor> ColorTreeColors(TPixelGraphic& Target, TPixelGraphic& Source, int Wanted) {
  std::array<std::int64_t, 256> counts{};
  for (int y = 0; y < Source.GetHeight(); ++y) {
    for (int x = 0; x < Source.GetWidth(); ++x) ++counts[Source.GetPixel(x, y) & 0xFF];
    if (CountingAborted(Target, Source, y)) break;
  }
  TColorTree tree;
  // Pixel values past the palette have no colour; they are left out.
  int used = std::min(Source.PaletteCount(), 256);
  for (int i = 0; i < used; ++i) {
    if (counts[static_cast<std::size_t>(i)] == 0) continue;
    tree.Add(Source.GetPaletteEntry(i), counts[static_cast<std::size_t>(i)]);
    if (tree.Leaves() > Wanted) tree.ReduceOnce();
  }
  return tree.Colors();
}
