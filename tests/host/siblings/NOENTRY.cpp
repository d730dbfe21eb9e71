// A library of the suite's folder that is not a suite library: it has no entry.
extern "C" int something_else() { return 1; }
