// A double column (bound as SQL_C_DOUBLE). A NULL column reads as 0: the data source writes
// nothing into the buffer for it, so the buffer still holds an earlier row's value.
#ifndef DBDOUBLE_H
#define DBDOUBLE_H

#include "DBType.h"

class DBDouble : public DBType {
  public:
    // Truncated toward zero; values beyond the 32-bit range saturate, NaN reads as 0.
    int getInt() override;
    double getDouble() override;

    double* buffer() { return &value; }

  private:
    double value = 0.0;
};

#endif
