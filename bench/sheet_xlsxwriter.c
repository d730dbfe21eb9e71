/* Benchmark contender: libxlsxwriter writing the same 100 000 x 10 cells with a border. */
#include <stdio.h>
#include <xlsxwriter.h>

#include "fields.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: sheet_bench_xlsxwriter OUT.xlsx\n");
    return 2;
  }
  lxw_workbook* wb = workbook_new(argv[1]);
  lxw_worksheet* ws = workbook_add_worksheet(wb, NULL);
  lxw_format* border = workbook_add_format(wb);
  format_set_border(border, LXW_BORDER_THIN);
  char buf[128];
  worksheet_merge_range(ws, 0, 0, 0, BENCH_FIELDS - 1, "Список работников", NULL);
  for (int i = 0; i < BENCH_LINES; ++i) {
    for (int f = 0; f < BENCH_FIELDS; ++f) {
      if (f % 2 == 0) {
        worksheet_write_number(ws, 2 + i, f, bench_number(i, f), border);
      } else {
        bench_text(i, f, buf, sizeof buf);
        worksheet_write_string(ws, 2 + i, f, buf, border);
      }
    }
  }
  return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}
