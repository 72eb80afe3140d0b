// A 32-bit signed integer column (bound as SQL_C_LONG).
#ifndef DBINTEGER_H
#define DBINTEGER_H

#include "DBType.h"

class DBInteger : public DBType {
  public:
    explicit DBInteger(int initial = 0) : value(initial) {}

    // The value; a NULL column reads (and is stored) as 0.
    int getInt() override;

    int* buffer() { return &value; }

  private:
    int value;
};

#endif
