// The display of tests and machines without a screen: surfaces are kept in memory as presented,
// and input comes only from Inject.
#include <deque>
#include <map>
#include <mutex>

#include "host/display.h"

namespace host {
namespace {

class HeadlessDisplay final : public Display {
 public:
  const char* Name() const override { return "headless"; }

  SurfaceId Open(const SurfaceDesc& desc) override {
    std::lock_guard lock(mutex_);
    SurfaceId id = next_++;
    surfaces_[id] = Image{};
    described_[id] = Kept{desc, {}};
    return id;
  }
  void Close(SurfaceId id) override {
    std::lock_guard lock(mutex_);
    surfaces_.erase(id);
    described_.erase(id);
  }
  void Show(SurfaceId, bool) override {}
  void Place(SurfaceId, int, int, int, int) override {}
  void SetTitle(SurfaceId id, const std::string& title) override {
    std::lock_guard lock(mutex_);
    if (auto it = described_.find(id); it != described_.end()) it->second.desc.title = title;
  }
  void SetIcons(SurfaceId id, const std::vector<Image>& icons) override {
    std::lock_guard lock(mutex_);
    if (auto it = described_.find(id); it != described_.end()) it->second.icons = icons;
  }
  void Raise(SurfaceId) override {}

  void Present(SurfaceId id, int width, int height, const std::uint32_t* pixels, int stride) override {
    std::lock_guard lock(mutex_);
    auto it = surfaces_.find(id);
    if (it == surfaces_.end()) return;
    Image& image = it->second;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
      std::copy(pixels + static_cast<std::ptrdiff_t>(y) * stride,
                pixels + static_cast<std::ptrdiff_t>(y) * stride + width,
                image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
  }
  Image Capture(SurfaceId id) override {
    std::lock_guard lock(mutex_);
    auto it = surfaces_.find(id);
    return it == surfaces_.end() ? Image{} : it->second;
  }

  SurfaceDesc Described(SurfaceId id) override {
    std::lock_guard lock(mutex_);
    auto it = described_.find(id);
    return it == described_.end() ? SurfaceDesc{} : it->second.desc;
  }
  std::vector<Image> Icons(SurfaceId id) override {
    std::lock_guard lock(mutex_);
    auto it = described_.find(id);
    return it == described_.end() ? std::vector<Image>{} : it->second.icons;
  }

  bool Poll(InputEvent& event) override {
    std::lock_guard lock(mutex_);
    if (input_.empty()) return false;
    event = input_.front();
    input_.pop_front();
    return true;
  }
  void Inject(const InputEvent& event) override {
    {
      std::lock_guard lock(mutex_);
      input_.push_back(event);
    }
    Wake();
  }
  bool NeedsPolling() const override { return false; }
  void SetMousePosition(int, int) override {}
  void SetPointer(int stockShape, const Image* custom, int hotX, int hotY) override {
    std::lock_guard lock(mutex_);
    pointer_ = PointerShape{stockShape, custom ? *custom : Image{}, hotX, hotY};
  }
  PointerShape Pointer() const override {
    std::lock_guard lock(mutex_);
    return pointer_;
  }

 private:
  mutable std::mutex mutex_;
  std::map<SurfaceId, Image> surfaces_;
  PointerShape pointer_;
  struct Kept {
    SurfaceDesc desc;
    std::vector<Image> icons;
  };
  std::map<SurfaceId, Kept> described_;
  std::deque<InputEvent> input_;
  SurfaceId next_ = 1;
};

}  // namespace

std::unique_ptr<Display> MakeHeadlessDisplay() { return std::make_unique<HeadlessDisplay>(); }

}  // namespace host
