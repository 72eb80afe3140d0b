// Chooses the driver named by a connection URL and opens a connection with it.
#ifndef DBDRIVER_H
#define DBDRIVER_H

class DBConnection;
class DBUrl;

class DBDriver {
  public:
    // A new connection owned by the caller. Raises 0x22000FFD "no support driver[name]" for a
    // driver name this build does not know; the driver's own connection failures pass through.
    static DBConnection* getConnection(const DBUrl& url);
};

#endif
