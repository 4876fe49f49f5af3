// Drawing a tick must not touch the heap. This binary replaces operator new to count
// every C++ allocation, and also counts the C allocator, which Qt's containers and
// images use directly: through the sanitizer's hooks in sanitizer builds, and by
// replacing malloc and friends (as glibc allows) otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "form1.h"
#include "number1.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELMIRO_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PELMIRO_ASAN 1
#endif

namespace {
std::atomic<long> newCalls{0};
std::atomic<long> mallocCalls{0};
}  // namespace

void* operator new(std::size_t size) {
  newCalls.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) {
    return p;
  }
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return ::operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

#ifdef PELMIRO_ASAN
// From the sanitizer runtime; not every compiler ships the header that declares it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            std::size_t),
                                                         void (*freeHook)(const volatile void*));

namespace {
void CountMalloc(const volatile void*, std::size_t) {
  mallocCalls.fetch_add(1, std::memory_order_relaxed);
}
void IgnoreFree(const volatile void*) {}
}  // namespace

void InstallMallocCounter() {
  __sanitizer_install_malloc_and_free_hooks(CountMalloc, IgnoreFree);
}
#else
// glibc's own entry points, for a replacement malloc to forward to.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void __libc_free(void* p);

void* malloc(std::size_t size) {
  mallocCalls.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
  mallocCalls.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) {
  mallocCalls.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, size);
}
void free(void* p) {
  __libc_free(p);
}
}

void InstallMallocCounter() {}
#endif

namespace pelmiro {
namespace {

constexpr int WarmUpTicks = 10;
constexpr int MeasuredTicks = 1000;
constexpr int Bursts = 10;  // five hundred sparks
constexpr float BurstSpacing = 600;
constexpr float BurstY = 3000;
constexpr int TicksPerBurst = 20;
constexpr int LaunchKeys = FireworksModel::LastLaunchKey - FireworksModel::FirstLaunchKey + 1;
constexpr QRgb Black = 0xFF000000;

int AliveCount(FireworksModel& model) {
  int n = 0;
  for (bool alive : model.TubuAlive()) {
    n += alive ? 1 : 0;
  }
  return n;
}

int LitPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      n += image.pixel(x, y) != Black ? 1 : 0;
    }
  }
  return n;
}

class DrawAllocations : public ::testing::TestWithParam<int> {};

TEST_P(DrawAllocations, NoneDuringThousandTicksWithRocketsAndSparks) {
  const int size = GetParam();
  Form1 form;
  form.NumberBox()->setValue(size);
  form.ApplyDotSize();
  FireworksShow& show = form.Show();
  ASSERT_EQ(show.Canvas().DotSize(), size);
  FireworksModel& model = show.Model();
  for (int i = 0; i < Bursts; ++i) {
    model.BurstRocket(BurstSpacing * (i + 1), BurstY);
  }
  for (int key = FireworksModel::FirstLaunchKey; key <= FireworksModel::LastLaunchKey; ++key) {
    show.Launch(key);
  }
  for (int tick = 0; tick < WarmUpTicks; ++tick) {
    show.Tick();
  }
  const int sparks = AliveCount(model);
  ASSERT_GT(sparks, 0);

  const long newBefore = newCalls.load();
  const long mallocBefore = mallocCalls.load();
  // Keys and bursts keep coming, as under a user's hands; the real clock speeds
  // things up over the run and sparks fall out.
  for (int tick = 0; tick < MeasuredTicks; ++tick) {
    show.Launch(FireworksModel::FirstLaunchKey + tick % LaunchKeys);
    if (tick % TicksPerBurst == 0) {
      model.BurstRocket(BurstSpacing * (tick / TicksPerBurst % Bursts + 1), BurstY);
    }
    show.Tick();
  }
  const long news = newCalls.load() - newBefore;
  const long mallocs = mallocCalls.load() - mallocBefore;

  EXPECT_EQ(news, 0) << "operator new calls over " << MeasuredTicks << " ticks";
  EXPECT_EQ(mallocs, 0) << "malloc, calloc or realloc calls over " << MeasuredTicks << " ticks";
  // The ticks really drew: the sparks are still there, and so is their light.
  EXPECT_GT(AliveCount(model), 0);
  EXPECT_GT(LitPixels(form.Surface().Image()), 0);
}

INSTANTIATE_TEST_SUITE_P(DotSizes, DrawAllocations,
                         ::testing::Values(DotCanvas::MinDotSize, DotCanvas::MaxDotSize));

// The counters must see what they are meant to see, or a zero above means nothing.
TEST(AllocationCounters, SeeNewAndMalloc) {
  const long newBefore = newCalls.load();
  const long mallocBefore = mallocCalls.load();
  // Both allocate inside Qt, where no optimiser can take the allocation away.
  const QImage image(DotCanvas::MaxDotSize, DotCanvas::MaxDotSize, QImage::Format_RGB32);
  const auto object = std::make_unique<QObject>();
  EXPECT_FALSE(image.isNull());
  EXPECT_GT(newCalls.load() - newBefore, 0);
  EXPECT_GT(mallocCalls.load() - mallocBefore, 0);
}

}  // namespace
}  // namespace pelmiro

int main(int argc, char** argv) {
  InstallMallocCounter();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
