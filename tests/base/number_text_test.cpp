// The number printers' cut to the capacity: capacities 0 and 1, exactly
// enough and one short, in a buffer of the capacity and one guard byte past
// it, which no build may see written.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "base/number_text.h"

namespace {

TEST(NumberText, CutsToTheCapacity) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    char printer;  // 'f' fixed, 'g' general, 'd' integer
    double value;
    int capacity;
    const char* expected;
  } cases[] = {
      {'f', 2.5, 0, ""},
      {'f', 2.5, 1, ""},
      {'f', -12.25, 7, "-12.25"},
      {'f', -12.25, 6, "-12.2"},
      {'f', -inf, 5, "-inf"},
      {'f', -inf, 4, "-in"},
      {'g', 1234567, 0, ""},
      {'g', 1234567, 1, ""},
      {'g', 1234567, 12, "1.23457e+06"},
      {'g', 1234567, 11, "1.23457e+0"},
      {'g', inf, 4, "inf"},
      {'g', inf, 3, "in"},
      {'d', -148, 0, ""},
      {'d', -148, 1, ""},
      {'d', -148, 5, "-148"},
      {'d', -148, 4, "-14"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<char[]> out(new char[static_cast<size_t>(c.capacity) + 1]);
    for (int i = 0; i <= c.capacity; ++i) out[i] = '#';
    int n = c.printer == 'f' ? number_fixed(out.get(), c.capacity, c.value, 2)
            : c.printer == 'g'
                ? number_general(out.get(), c.capacity, c.value, 6)
                : number_integer(out.get(), c.capacity, static_cast<long long>(c.value));
    std::string got = c.capacity > 0 ? out.get() : "";
    EXPECT_EQ(c.expected, got) << c.printer << " capacity " << c.capacity;
    EXPECT_EQ(static_cast<int>(got.size()), n) << c.printer << " capacity " << c.capacity;
    EXPECT_EQ('#', out[c.capacity]) << c.printer << " guard past capacity " << c.capacity;
  }
}

}  // namespace
