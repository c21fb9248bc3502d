#pragma once

// The local calendar time of this machine, broken down.
struct LocalDateTime {
  int year = 1970;   // four digits
  int month = 1;     // 1-12
  int day = 1;       // 1-31
  int hour = 0;      // 0-23
  int minute = 0;    // 0-59
  int second = 0;    // 0-60
  int weekday = 4;   // 0 Sunday - 6 Saturday
};

// Now, in local time. Falls back to the default value when the clock cannot be read.
LocalDateTime CurrentLocalTime();
