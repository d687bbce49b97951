// The memory page's texts and figures, and the walk over the system's
// process records, on prepared buffers of both pointer sizes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "memory/MemoryText.h"
#include "memory/ProcessRecords.h"

namespace memory {
namespace {

TEST(MemoryText, LevelMessagesPercentAndFreedTexts) {
  const char* low = "快来清理下内存，加速您的电脑哦~";
  const char* half = "您的电脑内存快接近一半啦，试试加速下哦~";
  const char* slow = "您的电脑快跑不动啦，赶快清理来加速吧~";
  const char* stuck = "你的电脑已经寸步难行啦，赶紧加速下吧~";
  std::pair<int, const char*> cases[] = {{0, low},    {29, low},    {30, half},
                                         {49, half},  {50, slow},   {79, slow},
                                         {80, stuck}, {100, stuck}, {101, low}};
  for (auto& c : cases) EXPECT_EQ(LevelMessage(c.first), c.second) << c.first;
  EXPECT_EQ(PercentText(5), "5%");
  EXPECT_EQ(PercentText(45), "45%");
  EXPECT_EQ(MBText(3172), "3172MB");
  EXPECT_EQ(FreedText(215), "本次加速为您清理了215MB内存哦~");
  EXPECT_EQ(FreedText(-12), "本次加速为您清理了-12MB内存哦~");
  EXPECT_EQ(FreedText(0), "本次加速为您清理了0MB内存哦~");

  // Each amount is rounded down to whole MB before the difference.
  Figures f = MakeFigures(45, (uint64_t{8} << 30) + 1, (uint64_t{3} << 20) - 1);
  EXPECT_EQ(f.percent, 45);
  EXPECT_EQ(f.totalMB, 8192);
  EXPECT_EQ(f.usedMB, 8190);
  // More than 2 GB used on a 64 GB machine does not wrap.
  EXPECT_EQ(MakeFigures(90, uint64_t{64} << 30, 0).usedMB, 65536);
}

TEST(MemoryText, SpeedUpIsMeasuredFromTheLastReading) {
  SpeedUpPanel panel;
  auto t = panel.Refresh(Figures{45, 8192, 3172});
  EXPECT_EQ(t.percent, "45%");
  EXPECT_EQ(t.used, "3172MB");
  EXPECT_EQ(t.total, "8192MB");
  EXPECT_EQ(t.message, "您的电脑内存快接近一半啦，试试加速下哦~");

  ASSERT_TRUE(panel.Begin());
  EXPECT_FALSE(panel.Begin());  // one at a time
  t = panel.Finish(Figures{40, 8192, 2957});
  EXPECT_FALSE(panel.Running());
  EXPECT_EQ(t.message, "本次加速为您清理了215MB内存哦~");
  EXPECT_EQ(t.percent, "40%");
  EXPECT_EQ(t.used, "3172MB");  // until the next refresh

  // A second click before the next tick starts from the first one's reading.
  ASSERT_TRUE(panel.Begin());
  EXPECT_EQ(panel.Finish(Figures{41, 8192, 2969}).message, "本次加速为您清理了-12MB内存哦~");
  ASSERT_TRUE(panel.Begin());
  EXPECT_EQ(panel.Finish(Figures{41, 8192, 2969}).message, "本次加速为您清理了0MB内存哦~");
  // The next tick puts the level message back.
  EXPECT_EQ(panel.Refresh(Figures{41, 8192, 2969}).message,
            "您的电脑内存快接近一半啦，试试加速下哦~");
}

// Writes process records the way the system lays them out.
class RecordBuffer {
 public:
  static constexpr size_t kRecord = 0x100;
  RecordBuffer(size_t pointerSize, uint64_t base) : layout_(LayoutFor(pointerSize)), base_(base) {}

  // A record with `name` (none when empty); `next` overrides the offset to
  // the next record (kRecord by default, 0 for the last one).
  void Add(uint64_t pid, const std::u16string& name, int64_t next = -1) {
    size_t at = bytes.size();
    bytes.resize(at + kRecord, 0);
    Put(at + layout_.processId, pid, layout_.pointerSize);
    if (!name.empty()) {
      size_t text = at + layout_.minimumSize + 8;
      for (size_t k = 0; k < name.size(); ++k) Put(text + 2 * k, name[k], 2);
      Put(at + layout_.nameLength, name.size() * 2, 2);
      Put(at + layout_.nameBuffer, base_ + text, layout_.pointerSize);
    }
    Put(at, next < 0 ? kRecord : static_cast<uint64_t>(next), 4);
  }
  void Put(size_t at, uint64_t v, size_t n) {
    for (size_t k = 0; k < n; ++k) bytes[at + k] = static_cast<unsigned char>(v >> (8 * k));
  }
  std::vector<ProcessRecord> Walk(size_t size = SIZE_MAX) const {
    std::vector<ProcessRecord> seen;
    WalkProcessRecords(bytes.data(), std::min(size, bytes.size()), base_, layout_,
                       [&](const ProcessRecord& r) { seen.push_back(r); });
    return seen;
  }
  std::vector<uint64_t> Trimmed() const {
    return ProcessesToTrim(bytes.data(), bytes.size(), base_, layout_);
  }

  std::vector<unsigned char> bytes;
  RecordLayout layout_;
  uint64_t base_;
};

TEST(ProcessRecords, WalkIsBoundedAndTrimsEveryNamedProcessWithoutEndingAny) {
  for (size_t ptr : {size_t{4}, size_t{8}}) {
    SCOPED_TRACE(ptr);
    RecordBuffer b(ptr, ptr == 8 ? 0x7ff612340000ull : 0x00a40000ull);
    b.Add(0, u"");  // the idle process has no name
    b.Add(4, u"System");
    b.Add(812, u"memmaker.exe");
    b.Add(900, u"Memmaker.exe", 0);  // last: its offset is 0
    auto seen = b.Walk();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].name, u"");
    EXPECT_EQ(seen[2].name, u"memmaker.exe");
    EXPECT_EQ(seen[3].pid, 900u);
    EXPECT_EQ(seen[3].name, u"Memmaker.exe");
    // Everything but the idle process is trimmed; "memmaker.exe" too.
    EXPECT_EQ(b.Trimmed(), (std::vector<uint64_t>{4, 812, 900}));

    // A zero offset in the middle ends the walk after that record.
    b.Put(RecordBuffer::kRecord, 0, 4);
    EXPECT_EQ(b.Walk().size(), 2u);
    // An offset past the end ends it too, after the record that holds it.
    b.Put(RecordBuffer::kRecord, 0x7fffffff, 4);
    EXPECT_EQ(b.Walk().size(), 2u);
    b.Put(RecordBuffer::kRecord, RecordBuffer::kRecord, 4);
    // A buffer cut inside a record: the part that fits is not read.
    EXPECT_EQ(b.Walk(3 * RecordBuffer::kRecord + 8).size(), 3u);
    // A name pointing outside the buffer reads as empty.
    b.Put(2 * RecordBuffer::kRecord + b.layout_.nameBuffer, 0x10, ptr);
    EXPECT_EQ(b.Walk()[2].name, u"");
  }
}

TEST(ProcessRecords, BufferGrowsFrom32KBUpTo64MB) {
  EXPECT_EQ(NextBufferSize(kFirstBufferSize, 0), 65536u);
  EXPECT_EQ(NextBufferSize(65536, 0), 131072u);
  EXPECT_EQ(NextBufferSize(65536, 800000), 900000u);  // what it asked for, and some
  EXPECT_EQ(NextBufferSize(size_t{48} << 20, 0), kMaxBufferSize);
  EXPECT_EQ(NextBufferSize(kMaxBufferSize, 0), 0u);
  EXPECT_EQ(NextBufferSize(65536, kMaxBufferSize + 1), 0u);
}

}  // namespace
}  // namespace memory
