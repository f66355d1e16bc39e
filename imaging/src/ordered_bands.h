#pragma once
// Work split into bands that helper threads take in turn, with the results reported in order on
// the calling thread, so progress handlers see what they would see on one thread.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

#include "vcl/scope_exit.h"

constexpr unsigned kMostThreads = 8;

// One thread for work below `workForHelpers`, else as many as the processor runs, up to
// kMostThreads and no more than there are bands.
inline unsigned ThreadsFor(std::int64_t work, std::int64_t workForHelpers, int bands) {
  if (work < workForHelpers || bands < 2) return 1;
  return std::clamp(std::min(std::thread::hardware_concurrency(), kMostThreads), 1u, static_cast<unsigned>(bands));
}

// Runs `weigh(band, thread)` for every band, on `threads` threads in all (thread 0 is the caller),
// and `report(band)` on the calling thread alone, band by band in order, once that band is done.
// A report that raises ends the work: the helpers take no more bands and are joined.
template <class Weigh, class Report>
void ForEachBand(int bands, unsigned threads, const Weigh& weigh, const Report& report) {
  std::vector<std::atomic<bool>> done(static_cast<std::size_t>(std::max(bands, 0)));
  std::atomic<int> next{0};
  auto weighNext = [&](unsigned thread) {
    const int band = next.fetch_add(1);
    if (band >= bands) return false;
    weigh(band, thread);
    done[static_cast<std::size_t>(band)].store(true);
    done[static_cast<std::size_t>(band)].notify_one();
    return true;
  };
  std::vector<std::thread> helpers;
  ScopeExit joinHelpers([&] {
    next.store(bands);
    for (std::thread& helper : helpers) helper.join();
  });
  for (unsigned t = 1; t < threads; ++t) {
    try {
      helpers.emplace_back([&, t] {
        while (weighNext(t)) {
        }
      });
    } catch (const std::system_error&) {  // no more threads to be had: fewer hands, same work
      break;
    }
  }
  for (int reported = 0; reported < bands;) {
    if (!weighNext(0)) done[static_cast<std::size_t>(reported)].wait(false);
    for (; reported < bands && done[static_cast<std::size_t>(reported)].load(); ++reported) report(reported);
  }
}
