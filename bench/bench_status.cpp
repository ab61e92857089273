// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Status frames decoded per second by the core: the decoder alone, alignment plus decoding,
// and the whole communication handler (receive display, frame taken from the box, decoding)
// with one frame per event, as the device sends them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "status/receive_display.h"
#include "status/status_frame.h"
#include "status/status_handler.h"
#include "support/fakes.h"

namespace {

std::vector<vqx::StatusFrame> sampleFrames() {
  std::mt19937 rng(1);
  std::vector<vqx::StatusFrame> frames;
  for (int i = 0; i < 256; ++i) {
    vqx::DeviceStatus s;
    s.camera = static_cast<int>(rng() % 16) + 1;
    s.liveLamp = rng() & 1;
    s.tapeLamp = !s.liveLamp;
    s.sequenceLamp = rng() & 1;
    s.quattroScreenLit = rng() & 1;
    frames.push_back(vqx::encodeStatusFrame(s));
  }
  return frames;
}

void BM_DecodeFrame(benchmark::State& state) {
  const auto frames = sampleFrames();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vqx::decodeStatusFrame(frames[i++ & 255]));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_DecodeFrame);

void BM_AlignAndDecode(benchmark::State& state) {
  std::vector<std::string> blocks;
  for (const auto& f : sampleFrames()) {
    std::string s(f.begin(), f.end());
    std::rotate(s.begin(), s.begin() + (blocks.size() % 4), s.end());
    blocks.push_back(s);
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const auto frame = vqx::alignStatusFrame(blocks[i++ & 255]);
    benchmark::DoNotOptimize(vqx::decodeStatusFrame(*frame));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_AlignAndDecode);

void BM_CommHandlerOneFramePerEvent(benchmark::State& state) {
  vqx::testing::FakeSerialControl comm;
  vqx::TerminalBox box;
  const auto frames = sampleFrames();
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& f = frames[i++ & 255];
    comm.received.assign(f.begin(), f.end());
    benchmark::DoNotOptimize(vqx::receiveStatus(comm, box));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_CommHandlerOneFramePerEvent);

// A full receive queue (1024 bytes) in one event: one frame decoded, the rest dropped.
void BM_CommHandlerFullQueueBlock(benchmark::State& state) {
  vqx::testing::FakeSerialControl comm;
  vqx::TerminalBox box;
  std::mt19937 rng(2);
  std::string block(1024, '\0');
  for (char& c : block) c = static_cast<char>(rng() & 0xFF);
  for (auto _ : state) {
    comm.received = block;
    benchmark::DoNotOptimize(vqx::receiveStatus(comm, box));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 1024);
}
BENCHMARK(BM_CommHandlerFullQueueBlock);

}  // namespace
