// A double column (bound as SQL_C_DOUBLE). The indicator is not consulted: after a NULL fetch
// the value last written stays.
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
