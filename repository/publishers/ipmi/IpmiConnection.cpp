#include "IpmiConnection.h"

#include <sys/stat.h>
#include <unistd.h>

#include <OpenIPMI/ipmi_auth.h>
#include <OpenIPMI/ipmi_conn.h>
#include <OpenIPMI/ipmi_err.h>
#include <OpenIPMI/ipmi_lan.h>
#include <OpenIPMI/ipmi_smi.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "IpmiEventLoop.h"

namespace nvx4::repository {

namespace {

// One outcome awaited by a caller: an answer or an error number of the library.
struct Outcome {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
    int error = 0;
    Bytes data;

    void finish(int err, const unsigned char* bytes, std::size_t size) {
        std::lock_guard<std::mutex> lock(mutex);
        if (done) return;
        done = true;
        error = err;
        data.assign(bytes, bytes + size);
        changed.notify_all();
    }
    // False when the deadline passed first.
    bool await(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, timeout, [this] { return done; });
    }
};

// The completion code the library puts in an answer that never came.
constexpr std::uint8_t kTimedOut = 0xc3;

std::string libraryError(int error) {
    char text[128] = {};
    ipmi_get_error_string(static_cast<unsigned>(error), text, sizeof text);
    return text;
}

// The algorithms of the cipher suites 1 to 14: authentication, integrity, confidentiality.
struct CipherSuite {
    int authentication, integrity, confidentiality;
};

CipherSuite cipherSuite(int number) {
    const int sha1 = IPMI_LANP_AUTHENTICATION_ALGORITHM_RAKP_HMAC_SHA1;
    const int md5 = IPMI_LANP_AUTHENTICATION_ALGORITHM_RAKP_HMAC_MD5;
    const int sha96 = IPMI_LANP_INTEGRITY_ALGORITHM_HMAC_SHA1_96;
    const int hmd5 = IPMI_LANP_INTEGRITY_ALGORITHM_HMAC_MD5_128;
    const int pmd5 = IPMI_LANP_INTEGRITY_ALGORITHM_MD5_128;
    const int none = 0, aes = IPMI_LANP_CONFIDENTIALITY_ALGORITHM_AES_CBC_128;
    const int rc128 = IPMI_LANP_CONFIDENTIALITY_ALGORITHM_xRC4_128;
    const int rc40 = IPMI_LANP_CONFIDENTIALITY_ALGORITHM_xRC4_40;
    static const CipherSuite suites[] = {
        {0, 0, 0},          {sha1, none, none},   {sha1, sha96, none},
        {sha1, sha96, aes}, {sha1, sha96, rc128}, {sha1, sha96, rc40},
        {md5, none, none},  {md5, hmd5, none},    {md5, hmd5, aes},
        {md5, hmd5, rc128}, {md5, hmd5, rc40},    {md5, pmd5, none},
        {md5, pmd5, aes},   {md5, pmd5, rc128},   {md5, pmd5, rc40}};
    return suites[number];
}

std::string localDevice(int interface) {
    const std::string number = std::to_string(interface);
    for (const std::string& path :
         {"/dev/ipmi" + number, "/dev/ipmi/" + number, "/dev/ipmidev/" + number}) {
        struct stat info {};
        if (stat(path.c_str(), &info) == 0) return path;
    }
    return {};
}

}  // namespace

// What the loop thread and the callers share about one connection.
struct IpmiConnection::Link {
    ipmi_con_t* con = nullptr;  // used on the loop thread only
    Outcome opened;
    std::atomic<bool> broken{false};

    static void changed(ipmi_con_t*, int err, unsigned int, int anyPortUp, void* self) {
        Link* link = static_cast<Link*>(self);
        if (err != 0 || !anyPortUp) link->broken = true;
        link->opened.finish(err != 0 ? err : (anyPortUp ? 0 : EIO), nullptr, 0);
    }
    static int answered(ipmi_con_t*, ipmi_msgi_t* rspi) {
        auto* outcome = static_cast<std::shared_ptr<Outcome>*>(rspi->data1);
        (*outcome)->finish(0, rspi->msg.data, rspi->msg.data_len);
        delete outcome;
        return IPMI_MSG_ITEM_NOT_USED;
    }
    void close() {
        if (con == nullptr) return;
        con->remove_con_change_handler(con, &Link::changed, this);
        if (!IpmiEventLoop::exiting()) con->close_connection(con);
        con = nullptr;
    }
};

namespace {

int setUpLan(const IpmiSettings& settings, const IpmiPassword& password, ipmi_con_t** con) {
    const CipherSuite suite = cipherSuite(settings.cipherSuite);
    char* host = const_cast<char*>(settings.host.c_str());
    char* port = const_cast<char*>(settings.port.c_str());
    ipmi_lanp_parm_t parms[] = {
        {IPMI_LANP_PARMID_ADDRS, 0, &host, 1},
        {IPMI_LANP_PARMID_PORTS, 0, &port, 1},
        {IPMI_LANP_PARMID_AUTHTYPE, IPMI_AUTHTYPE_RMCP_PLUS, nullptr, 0},
        {IPMI_LANP_PARMID_PRIVILEGE, settings.privilege, nullptr, 0},
        {IPMI_LANP_PARMID_USERNAME, 0, const_cast<char*>(settings.user.data()),
         static_cast<unsigned>(settings.user.size())},
        {IPMI_LANP_PARMID_PASSWORD, 0, const_cast<char*>(password.text().data()),
         static_cast<unsigned>(password.text().size())},
        {IPMI_LANP_AUTHENTICATION_ALGORITHM, suite.authentication, nullptr, 0},
        {IPMI_LANP_INTEGRITY_ALGORITHM, suite.integrity, nullptr, 0},
        {IPMI_LANP_CONFIDENTIALITY_ALGORITHM, suite.confidentiality, nullptr, 0},
    };
    return ipmi_lanp_setup_con(parms, sizeof parms / sizeof parms[0],
                               IpmiEventLoop::instance()->osHandler(), nullptr, con);
}

}  // namespace

std::shared_ptr<IpmiConnection> IpmiConnection::open(const IpmiSettings& settings) {
    std::string description;
    std::shared_ptr<IpmiPassword> password;
    if (settings.overLan()) {
        description = "the BMC at " + settings.host + " port " + settings.port;
        password = std::make_shared<IpmiPassword>(IpmiPassword::read(settings.passwordFile));
    } else {
        description = localDevice(settings.interface);
        if (description.empty()) return nullptr;
        if (access(description.c_str(), R_OK | W_OK) != 0)
            throw PublishError::fromErrno(description, errno);
    }
    auto link = std::make_shared<Link>();
    std::shared_ptr<IpmiEventLoop> loop = IpmiEventLoop::instance();
    loop->post([link, password, settings] {
        int err = password ? setUpLan(settings, *password, &link->con)
                           : ipmi_smi_setup_con(settings.interface,
                                                IpmiEventLoop::instance()->osHandler(), nullptr,
                                                &link->con);
        if (err == 0)
            err = link->con->add_con_change_handler(link->con, &Link::changed, link.get());
        if (err == 0) err = link->con->start_con(link->con);
        if (err != 0) link->opened.finish(err, nullptr, 0);
    });
    const bool answered = link->opened.await(settings.timeout);
    const int error = link->opened.error;
    if (!answered || error != 0) {
        loop->post([link] { link->close(); });
        if (!answered)
            throw PublishError(PublishError::kProviderFailure,
                               "no session with " + description + " within " +
                                   std::to_string(settings.timeout.count()) + " ms");
        const bool refused = IPMI_IS_RMCPP_ERR(error) || error == EPERM || error == EINVAL ||
                             (IPMI_IS_IPMI_ERR(error) && IPMI_GET_IPMI_ERR(error) == 0x86);
        throw PublishError(refused ? PublishError::kAccessDenied : PublishError::kProviderFailure,
                           (refused ? "session refused by " : "cannot open ") + description + ": " +
                               libraryError(error));
    }
    return std::shared_ptr<IpmiConnection>(new IpmiConnection(
        std::move(loop), std::move(link), std::move(description), settings.timeout));
}

IpmiConnection::IpmiConnection(std::shared_ptr<IpmiEventLoop> loop, std::shared_ptr<Link> link,
                               std::string description, std::chrono::milliseconds timeout)
    : loop_(std::move(loop)),
      link_(std::move(link)),
      description_(std::move(description)),
      timeout_(timeout) {}

IpmiConnection::~IpmiConnection() {
    loop_->post([link = link_] { link->close(); });
}

bool IpmiConnection::broken() const { return link_->broken; }

Bytes IpmiConnection::request(const IpmiCommand& command, const Bytes& data, std::uint8_t owner,
                              std::uint8_t lun) {
    auto outcome = std::make_shared<Outcome>();
    loop_->post([link = link_, outcome, command, data, owner, lun] {
        if (link->con == nullptr) return outcome->finish(ENOTCONN, nullptr, 0);
        ipmi_addr_t address{};
        unsigned int addressSize = 0;
        if (owner == kBmcAddress) {
            auto* si = reinterpret_cast<ipmi_system_interface_addr_t*>(&address);
            si->addr_type = IPMI_SYSTEM_INTERFACE_ADDR_TYPE;
            si->channel = IPMI_BMC_CHANNEL;
            si->lun = lun;
            addressSize = sizeof *si;
        } else {
            auto* ipmb = reinterpret_cast<ipmi_ipmb_addr_t*>(&address);
            ipmb->addr_type = IPMI_IPMB_ADDR_TYPE;
            ipmb->channel = 0;
            ipmb->slave_addr = owner;
            ipmb->lun = lun;
            addressSize = sizeof *ipmb;
        }
        Bytes body = data;
        ipmi_msg_t message{command.netFn, command.code, static_cast<unsigned short>(body.size()),
                           body.data()};
        ipmi_msgi_t* item = ipmi_alloc_msg_item();
        if (item == nullptr) return outcome->finish(ENOMEM, nullptr, 0);
        item->data1 = new std::shared_ptr<Outcome>(outcome);
        const int err = link->con->send_command(link->con, &address, addressSize, &message,
                                                &Link::answered, item);
        if (err != 0) {
            delete static_cast<std::shared_ptr<Outcome>*>(item->data1);
            ipmi_free_msg_item(item);
            outcome->finish(err, nullptr, 0);
        }
    });
    if (!outcome->await(timeout_)) {
        link_->broken = true;
        throw PublishError(PublishError::kProviderFailure,
                           description_ + " did not answer " + command.name + " within " +
                               std::to_string(timeout_.count()) + " ms");
    }
    if (outcome->error != 0) {
        link_->broken = true;
        throw PublishError(PublishError::kProviderFailure,
                           command.name + std::string(" to ") + description_ +
                               " failed: " + libraryError(outcome->error));
    }
    if (outcome->data.empty()) {
        throw IpmiCommandError(0xff, description_ + " gave an empty answer to " + command.name);
    }
    if (outcome->data[0] == kTimedOut) link_->broken = true;
    if (outcome->data[0] != 0) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02x", outcome->data[0]);
        throw IpmiCommandError(outcome->data[0], description_ + " refused " + command.name +
                                                     ": completion code " + code);
    }
    return Bytes(outcome->data.begin() + 1, outcome->data.end());
}

}  // namespace nvx4::repository
