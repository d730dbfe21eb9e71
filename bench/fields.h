/* The 10 fields of one benchmark line, shared by both contenders. */
#ifndef HRDOC_BENCH_FIELDS_H
#define HRDOC_BENCH_FIELDS_H
#include <stdio.h>

#define BENCH_LINES 100000
#define BENCH_FIELDS 10

static const char* const bench_departments[] = {"Бухгалтерия", "Отдел кадров", "Цех № 1", "Цех № 2",
                                                "Служба главного инженера", "Транспортный участок"};

/* Field f of line i: even fields are numbers, odd ones Cyrillic texts. */
static inline double bench_number(int i, int f) { return i * 10.0 + f + (f % 4 == 0 ? 0.25 : 0); }
static inline void bench_text(int i, int f, char* buf, size_t size) {
  if (f == 1) snprintf(buf, size, "Сотрудник Иванов-%d Иван Петрович", i);
  else if (f == 3) snprintf(buf, size, "%s", bench_departments[i % 6]);
  else if (f == 5) snprintf(buf, size, "Таб. № %06d", i);
  else if (f == 7) snprintf(buf, size, "%s", (i % 2) ? "инженер" : "слесарь-ремонтник");
  else snprintf(buf, size, "%02d.%02d.%04d", 1 + i % 28, 1 + i % 12, 1990 + i % 30);
}
#endif
