// A character column (bound as SQL_C_CHAR) with a fixed capacity: the data source writes the
// NUL-terminated text into the buffer, whose length never changes.
#ifndef DBSTRING_H
#define DBSTRING_H

#include "DBType.h"

class DBString : public DBType {
  public:
    explicit DBString(int capacity);

    // The text up to its first NUL; empty when NULL.
    std::string getString() override;
    // Writes exactly `size` characters: the text, truncated without a terminator or padded with
    // NULs. Returns the smaller of `size` and the capacity. A NULL column writes one NUL and
    // returns 0.
    int getString(char* buffer, int size) override;

    char* buffer() { return &value[0]; }
    int capacity() const { return static_cast<int>(value.size()); }

  private:
    std::string value;
};

#endif
