// The WMI service the driver suite runs over: on Linux the stand-in, serving a namespace
// root\cimv2 with the classes the suite reads (named and typed as a Windows machine's) and the
// stand-in-only test classes; on Windows the machine's own service (Wine's, in CI).
#ifndef NVX4_WMI_TEST_SERVICE_H
#define NVX4_WMI_TEST_SERVICE_H

#include <memory>

class WMITestService {
  public:
    // COM on the calling thread; the stand-in also starts from a clean repository and checks at
    // the end that every COM object and thread token the test was handed is gone.
    WMITestService();
    ~WMITestService();
    WMITestService(const WMITestService&) = delete;
    WMITestService& operator=(const WMITestService&) = delete;

    static constexpr const char* kUrl = "wmi:localhost//user=,password=,namespace=root\\cimv2";
    // Windows refuses to enumerate a class it does not know; Wine's service enumerates it as a
    // class without instances.
    static bool refusesUnknownClasses();
    // How connecting to another machine fails: Wine and the stand-in serve no other machine and
    // say so at once; Windows tries and fails in the transport (RPC_S_SERVER_UNAVAILABLE).
    static int remoteFailure();
    static const char* remoteFailureName();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

#endif
