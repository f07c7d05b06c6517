// The random source and the draw tick: reseeding, the generator, numbers in a range and the
// number on show trailing the draws by one tick.

#include "draw/random.h"
#include "draw/rolling_draw.h"

#include <QtTest>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::optional<std::int32_t>)

namespace {

class FixedTickClock final : public draw::TickClock {
public:
  std::uint32_t milliseconds() const override { return ticks; }
  std::uint32_t ticks = 0;
};

class RecordingLabel final : public draw::TextLabel {
public:
  std::string labelText() const override { return shown.empty() ? std::string("0000") : shown.back(); }
  void setLabelText(const std::string &gbk) override { shown.push_back(gbk); }
  std::vector<std::string> shown;
};

// The generator written out once more, independently of the program's code.
std::uint32_t stepOf(std::uint32_t state) { return state * 214013u + 2531011u; }
int outputOf(std::uint32_t stateAfterStep) { return static_cast<int>((stateAfterStep >> 16) & 0x7FFF); }

} // namespace

class TestRandom : public QObject {
  Q_OBJECT

private slots:
  void reseedFromClock_data();
  void reseedFromClock();
  void firstOutputAfterSeeding_data();
  void firstOutputAfterSeeding();
  void workedTicksInOrder();

  void equalBoundsDoNotAdvance_data();
  void equalBoundsDoNotAdvance();
  void narrowSpansUseOneOutput_data();
  void narrowSpansUseOneOutput();
  void wideSpansJoinOutputsHighFirst_data();
  void wideSpansJoinOutputsHighFirst();
  void nonPositiveCountDrawsZeroOrOne_data();
  void nonPositiveCountDrawsZeroOrOne();

  void everyNumberAbove32768IsReachable();
  void wideCountSpreadsEvenly();
  void largestCountReachesTheTopHalf();

  void tickShowsThePreviousDraw();
  void countChangeBoundsTheNextDraw();
  void integerToText_data();
  void integerToText();
};

void TestRandom::reseedFromClock_data() {
  QTest::addColumn<std::uint32_t>("accumulator");
  QTest::addColumn<std::uint32_t>("ticks");
  QTest::addColumn<std::uint32_t>("seed");
  QTest::addColumn<std::uint32_t>("accumulatorAfter");

  QTest::newRow("first tick at 1000") << 0u << 1000u << 1000u << 332u;
  QTest::newRow("second tick at 1020") << 332u << 1020u << 1352u << 504u;
  QTest::newRow("third tick still at 1020") << 504u << 1020u << 1524u << 848u;
  QTest::newRow("tick counter wraps") << 0x20u << 0xFFFFFFF0u << 0x10u << 0x20u + 0x10u + 100u;
  QTest::newRow("accumulator wraps") << 0xFFFFFFFFu << 5u << 4u << 0xFFFFFFFFu + 4u + 100u;
  QTest::newRow("largest step is 355") << 0u << 0xFFu << 0xFFu << 355u;
}

void TestRandom::reseedFromClock() {
  QFETCH(std::uint32_t, accumulator);
  QFETCH(std::uint32_t, ticks);
  QFETCH(std::uint32_t, seed);
  QFETCH(std::uint32_t, accumulatorAfter);
  draw::RandomSource random;
  random.accumulator = accumulator;
  random.reseed(ticks);
  QCOMPARE(random.state, seed);
  QCOMPARE(random.accumulator, accumulatorAfter);
}

void TestRandom::firstOutputAfterSeeding_data() {
  QTest::addColumn<std::uint32_t>("seed");
  QTest::addColumn<int>("output");

  QTest::newRow("seed 1") << 1u << 41;
  QTest::newRow("seed 0") << 0u << 38;
  QTest::newRow("seed 1000") << 1000u << 3304;
  QTest::newRow("seed 1352") << 1352u << 4453;
}

void TestRandom::firstOutputAfterSeeding() {
  QFETCH(std::uint32_t, seed);
  QFETCH(int, output);
  draw::RandomSource random;
  random.seed(seed);
  QCOMPARE(random.next(), output);
}

// Three ticks with person count 10 from a fresh start: the clock reads 1000, 1020, 1020.
void TestRandom::workedTicksInOrder() {
  draw::RandomSource random;
  FixedTickClock clock;
  RecordingLabel label;
  std::int32_t pending = 0;

  clock.ticks = 1000;
  draw::drawTick(random, clock, pending, 10, label);
  QCOMPARE(random.accumulator, 332u);
  QCOMPARE(pending, 5);

  clock.ticks = 1020;
  draw::drawTick(random, clock, pending, 10, label);
  QCOMPARE(random.accumulator, 504u);
  QCOMPARE(pending, 4);

  draw::drawTick(random, clock, pending, 10, label);
  QCOMPARE(random.accumulator, 848u);
  QCOMPARE(random.state, stepOf(1524u));

  QCOMPARE(label.shown, (std::vector<std::string>{"0", "5", "4"}));
}

void TestRandom::equalBoundsDoNotAdvance_data() {
  QTest::addColumn<std::optional<std::int32_t>>("lo");
  QTest::addColumn<std::optional<std::int32_t>>("hi");
  QTest::addColumn<std::int32_t>("result");

  const std::optional<std::int32_t> absent;
  QTest::newRow("person count 1") << std::optional<std::int32_t>(1) << std::optional<std::int32_t>(1) << 1;
  QTest::newRow("both bounds 7") << std::optional<std::int32_t>(7) << std::optional<std::int32_t>(7) << 7;
  QTest::newRow("negative bounds raised to 0")
      << std::optional<std::int32_t>(-4) << std::optional<std::int32_t>(-9) << 0;
  QTest::newRow("absent low bound and 0") << absent << std::optional<std::int32_t>(0) << 0;
  QTest::newRow("absent high bound is 2147483647") << std::optional<std::int32_t>(2147483647) << absent << 2147483647;
}

void TestRandom::equalBoundsDoNotAdvance() {
  QFETCH(std::optional<std::int32_t>, lo);
  QFETCH(std::optional<std::int32_t>, hi);
  QFETCH(std::int32_t, result);
  draw::RandomSource random;
  random.seed(12345);
  QCOMPARE(random.inRange(lo, hi), result);
  QCOMPARE(random.state, 12345u);
}

// Spans up to 32768 keep the one-output rule: mn + (r mod span), exactly one generator step.
void TestRandom::narrowSpansUseOneOutput_data() {
  QTest::addColumn<std::optional<std::int32_t>>("lo");
  QTest::addColumn<std::optional<std::int32_t>>("hi");
  QTest::addColumn<std::int32_t>("mn");
  QTest::addColumn<std::int32_t>("span");

  const std::optional<std::int32_t> absent;
  auto b = [](std::int32_t v) { return std::optional<std::int32_t>(v); };
  QTest::newRow("person count 2") << b(1) << b(2) << 1 << 2;
  QTest::newRow("person count 10") << b(1) << b(10) << 1 << 10;
  QTest::newRow("person count 1000") << b(1) << b(1000) << 1 << 1000;
  QTest::newRow("person count 32767") << b(1) << b(32767) << 1 << 32767;
  QTest::newRow("person count 32768") << b(1) << b(32768) << 1 << 32768;
  QTest::newRow("bounds swapped") << b(30) << b(5) << 5 << 26;
  QTest::newRow("negative low bound raised") << b(-50) << b(3) << 0 << 4;
  QTest::newRow("absent low bound") << absent << b(99) << 0 << 100;
  QTest::newRow("whole output range") << b(0) << b(32767) << 0 << 32768;
}

void TestRandom::narrowSpansUseOneOutput() {
  QFETCH(std::optional<std::int32_t>, lo);
  QFETCH(std::optional<std::int32_t>, hi);
  QFETCH(std::int32_t, mn);
  QFETCH(std::int32_t, span);
  for (std::uint32_t seed = 0; seed < 70000; seed += 7) {
    draw::RandomSource random;
    const std::uint32_t start = seed * 2654435761u;
    random.seed(start);
    const std::uint32_t after = stepOf(start);
    const std::int32_t expected = mn + outputOf(after) % span;
    const std::int32_t got = random.inRange(lo, hi);
    if (got != expected || random.state != after)
      QFAIL(qPrintable(QStringLiteral("seed %1: got %2, expected %3").arg(start).arg(got).arg(expected)));
  }
}

// Wider spans join outputs, the first one highest: two up to 2^30, three above.
void TestRandom::wideSpansJoinOutputsHighFirst_data() {
  QTest::addColumn<std::optional<std::int32_t>>("lo");
  QTest::addColumn<std::optional<std::int32_t>>("hi");
  QTest::addColumn<std::int32_t>("mn");
  QTest::addColumn<std::uint32_t>("span");
  QTest::addColumn<int>("outputs");

  const std::optional<std::int32_t> absent;
  auto b = [](std::int32_t v) { return std::optional<std::int32_t>(v); };
  QTest::newRow("person count 32769") << b(1) << b(32769) << 1 << 32769u << 2;
  QTest::newRow("person count 100000") << b(1) << b(100000) << 1 << 100000u << 2;
  QTest::newRow("person count 2^30") << b(1) << b(1 << 30) << 1 << (1u << 30) << 2;
  QTest::newRow("person count 2^30 + 1") << b(1) << b((1 << 30) + 1) << 1 << (1u << 30) + 1 << 3;
  QTest::newRow("largest person count") << b(1) << b(2147483647) << 1 << 2147483647u << 3;
  // 0 .. 2147483647 would be 2^31 numbers; the span is lowered to 2147483647 of them.
  QTest::newRow("both bounds absent") << absent << absent << 0 << 2147483647u << 3;
}

void TestRandom::wideSpansJoinOutputsHighFirst() {
  QFETCH(std::optional<std::int32_t>, lo);
  QFETCH(std::optional<std::int32_t>, hi);
  QFETCH(std::int32_t, mn);
  QFETCH(std::uint32_t, span);
  QFETCH(int, outputs);
  for (std::uint32_t seed = 0; seed < 70000; seed += 7) {
    const std::uint32_t start = seed * 2654435761u;
    std::uint32_t state = start;
    std::uint64_t r = 0;
    for (int k = 0; k < outputs; ++k) {
      state = stepOf(state);
      r = r * 32768 + static_cast<std::uint64_t>(outputOf(state));
    }
    const auto expected = static_cast<std::int32_t>(mn + static_cast<std::int64_t>(r % span));
    draw::RandomSource random;
    random.seed(start);
    const std::int32_t got = random.inRange(lo, hi);
    if (got != expected || random.state != state)
      QFAIL(qPrintable(QStringLiteral("seed %1: got %2, expected %3").arg(start).arg(got).arg(expected)));
  }
}

void TestRandom::nonPositiveCountDrawsZeroOrOne_data() {
  QTest::addColumn<std::int32_t>("count");
  QTest::newRow("0") << 0;
  QTest::newRow("-1") << -1;
  QTest::newRow("-5") << -5;
  QTest::newRow("INT_MIN") << std::numeric_limits<std::int32_t>::min();
}

void TestRandom::nonPositiveCountDrawsZeroOrOne() {
  QFETCH(std::int32_t, count);
  draw::RandomSource random;
  FixedTickClock clock;
  RecordingLabel label;
  std::int32_t pending = 0;
  int seen[2] = {0, 0};
  for (std::uint32_t i = 0; i < 2000; ++i) {
    clock.ticks = 20 * i;
    const std::uint32_t seed = clock.ticks + random.accumulator;
    draw::drawTick(random, clock, pending, count, label);
    QCOMPARE(pending, outputOf(stepOf(seed)) % 2);
    ++seen[pending];
  }
  QVERIFY(seen[0] > 0 && seen[1] > 0);
  for (const std::string &text : label.shown)
    QVERIFY(text == "0" || text == "1");
}

// With more people than one output can tell apart, the people above 32768 must still have
// their chance: over all seeds below 2^21 every number from 1 to 40000 comes up.
void TestRandom::everyNumberAbove32768IsReachable() {
  const std::int32_t count = 40000;
  std::vector<bool> seen(count + 1, false);
  std::int32_t missing = count;
  for (std::uint32_t seed = 0; seed < (1u << 21) && missing > 0; ++seed) {
    draw::RandomSource random;
    random.seed(seed);
    const std::int32_t v = random.inRange(1, count);
    QVERIFY(v >= 1 && v <= count);
    if (!seen[v]) {
      seen[v] = true;
      --missing;
    }
  }
  QCOMPARE(missing, 0);
}

// A roll of 200000 ticks, 20 ms apart, with 100000 people. Each bound is five standard
// deviations of an ideal uniform draw; a draw capped at 32768 leaves 67 of the buckets
// empty, and one that drops the low output reaches at most 32768 different people.
void TestRandom::wideCountSpreadsEvenly() {
  const std::int32_t count = 100000;
  const int draws = 200000;
  const int bucketCount = 100;
  draw::RandomSource random;
  FixedTickClock clock;
  RecordingLabel label;
  std::int32_t pending = 0;
  std::vector<int> buckets(bucketCount, 0);
  std::vector<bool> seen(count + 1, false);
  int above32768 = 0;
  int distinct = 0;
  for (int i = 0; i < draws; ++i) {
    clock.ticks = 1000u + 20u * static_cast<std::uint32_t>(i);
    draw::drawTick(random, clock, pending, count, label);
    QVERIFY(pending >= 1 && pending <= count);
    ++buckets[(pending - 1) / (count / bucketCount)];
    if (pending > 32768)
      ++above32768;
    if (!seen[pending]) {
      seen[pending] = true;
      ++distinct;
    }
  }

  const double perBucket = double(draws) / bucketCount;
  const double bucketSpread = 5 * std::sqrt(perBucket * (1 - 1.0 / bucketCount));
  for (int b = 0; b < bucketCount; ++b)
    if (std::abs(buckets[b] - perBucket) > bucketSpread)
      QFAIL(qPrintable(QStringLiteral("bucket %1 holds %2, expected %3 +- %4")
                           .arg(b)
                           .arg(buckets[b])
                           .arg(perBucket)
                           .arg(bucketSpread)));

  const double p = double(count - 32768) / count;
  const double expectedAbove = draws * p;
  QVERIFY2(std::abs(above32768 - expectedAbove) <= 5 * std::sqrt(draws * p * (1 - p)),
           qPrintable(QString::number(above32768)));

  // Ideal: count * (1 - e^-2) = 86466 different people, standard deviation about 90.
  const double expectedDistinct = count * (1 - std::exp(-double(draws) / count));
  QVERIFY2(distinct >= expectedDistinct - 450, qPrintable(QString::number(distinct)));
}

// The widest span needs a third output: two give at most 2^30 different values.
void TestRandom::largestCountReachesTheTopHalf() {
  const int draws = 10000;
  draw::RandomSource random;
  FixedTickClock clock;
  RecordingLabel label;
  std::int32_t pending = 0;
  int above = 0;
  for (int i = 0; i < draws; ++i) {
    clock.ticks = 20u * static_cast<std::uint32_t>(i);
    draw::drawTick(random, clock, pending, std::numeric_limits<std::int32_t>::max(), label);
    QVERIFY(pending >= 1);
    if (pending > (1 << 30))
      ++above;
  }
  const double p = (2147483647.0 - (1 << 30)) / 2147483647.0;
  QVERIFY2(std::abs(above - draws * p) <= 5 * std::sqrt(draws * p * (1 - p)), qPrintable(QString::number(above)));
}

void TestRandom::tickShowsThePreviousDraw() {
  draw::RandomSource random;
  FixedTickClock clock;
  RecordingLabel label;
  std::int32_t pending = 0;
  std::vector<std::string> drawn{"0"};
  for (std::uint32_t i = 0; i < 50; ++i) {
    clock.ticks = 5000 + 20 * i;
    draw::drawTick(random, clock, pending, 1000, label);
    QVERIFY(pending >= 1 && pending <= 1000);
    drawn.push_back(std::to_string(pending));
  }
  drawn.pop_back();
  QCOMPARE(label.shown, drawn);
}

void TestRandom::countChangeBoundsTheNextDraw() {
  draw::RandomSource random;
  FixedTickClock clock;
  RecordingLabel label;
  std::int32_t pending = 0;
  clock.ticks = 1000;
  draw::drawTick(random, clock, pending, 10, label);
  QCOMPARE(pending, 5);

  // Person count 1 from here on: no generator step, and 1 shown from the tick after next.
  clock.ticks = 1020;
  draw::drawTick(random, clock, pending, 1, label);
  QCOMPARE(pending, 1);
  QCOMPARE(random.state, 1352u);
  draw::drawTick(random, clock, pending, 1, label);
  draw::drawTick(random, clock, pending, 1, label);
  QCOMPARE(label.shown, (std::vector<std::string>{"0", "5", "1", "1"}));
}

void TestRandom::integerToText_data() {
  QTest::addColumn<std::int32_t>("value");
  QTest::addColumn<std::string>("text");
  QTest::newRow("zero") << 0 << std::string("0");
  QTest::newRow("one digit") << 7 << std::string("7");
  QTest::newRow("no grouping") << 1234567 << std::string("1234567");
  QTest::newRow("negative") << -5 << std::string("-5");
  QTest::newRow("largest") << 2147483647 << std::string("2147483647");
  QTest::newRow("smallest") << std::numeric_limits<std::int32_t>::min() << std::string("-2147483648");
}

void TestRandom::integerToText() {
  QFETCH(std::int32_t, value);
  QFETCH(std::string, text);
  QCOMPARE(draw::integerToText(value), text);
}

QTEST_APPLESS_MAIN(TestRandom)
#include "test_random.moc"
