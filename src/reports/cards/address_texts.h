#pragma once
// One-line addresses of an employee, as the card registry writes them and the military reserve
// list prints them.

#include <string>

class Tdm;

namespace hrdoc::cards {

// The registered address (ZPADRES); empty when the employee has none.
std::string registered_address(Tdm& dm, int kp);
// The actual address (KDT2IADF); empty when the employee has none.
std::string actual_address(Tdm& dm, int kp);

}  // namespace hrdoc::cards
