#pragma once
// The code map of the tariff-grid agreements: an order-kind code to the code the history
// records carry.

namespace hrdoc {

// 0 for a code the map does not hold.
int GetKodUosrv220(int code);

}  // namespace hrdoc
