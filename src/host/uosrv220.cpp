#include "host/uosrv220.h"

namespace hrdoc {

int GetKodUosrv220(int code) {
  static constexpr int kMap[][2] = {{7, 21},    {3, 22},    {2, 121},   {1, 31},   {5, 131},
                                    {8, 26},    {9, 32},    {101, 48},  {102, 49}, {103, 43},
                                    {104, 46},  {11, 27},   {51, 51},   {106, 54}, {107, 55}};
  for (const auto& [in, out] : kMap)
    if (in == code) return out;
  return 0;
}

}  // namespace hrdoc
