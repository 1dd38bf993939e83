#include "data/data_value.h"

namespace vl {

DateTime storedEpoch() {
  using namespace std::chrono;
  return DateTime{sys_days{year{1} / January / 1}.time_since_epoch()};
}

DateTime makeDateTime(int y, unsigned m, unsigned d, int hour, int minute, int second, int millisecond) {
  using namespace std::chrono;
  const sys_days day{year{y} / month{m} / std::chrono::day{d}};
  return DateTime{day.time_since_epoch()} + hours{hour} + minutes{minute} + seconds{second} +
         milliseconds{millisecond};
}

}  // namespace vl
