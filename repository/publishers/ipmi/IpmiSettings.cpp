#include "IpmiSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

namespace {

constexpr std::size_t kMaxPassword = 20;

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

long wholeNumber(const std::string& value, long low, long high) {
    std::size_t used = 0;
    long number = 0;
    try {
        number = std::stol(value, &used, 10);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != value.size() || number < low || number > high)
        throw std::invalid_argument("expected a whole number from " + std::to_string(low) + " to " +
                                    std::to_string(high));
    return number;
}

std::chrono::milliseconds seconds(const std::string& value, double low, double high) {
    std::size_t used = 0;
    double number = NAN;
    try {
        number = std::stod(value, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != value.size() || !(number >= low && number <= high))
        throw std::invalid_argument("expected seconds from " + std::to_string(low).substr(0, 3) +
                                    " to " + std::to_string(static_cast<int>(high)));
    return std::chrono::milliseconds(static_cast<long>(std::lround(number * 1000)));
}

int privilegeLevel(const std::string& value) {
    static const std::map<std::string, int> levels = {
        {"user", 2}, {"operator", 3}, {"admin", 4}, {"administrator", 4}};
    auto found = levels.find(value);
    if (found == levels.end()) throw std::invalid_argument("expected user, operator or admin");
    return found->second;
}

void apply(IpmiSettings& settings, const std::string& key, const std::string& value) {
    if (key == "host") {
        settings.host = value;
    } else if (key == "port") {
        settings.port = std::to_string(wholeNumber(value, 1, 65535));
    } else if (key == "user") {
        if (value.size() > 16) throw std::invalid_argument("a user name has at most 16 bytes");
        settings.user = value;
    } else if (key == "privilege") {
        settings.privilege = privilegeLevel(value);
    } else if (key == "cipher-suite") {
        settings.cipherSuite = static_cast<int>(wholeNumber(value, 0, 14));
        if (settings.cipherSuite == 0)
            throw std::invalid_argument("cipher suite 0 authenticates nobody; use 1 to 14");
    } else if (key == "password-file") {
        settings.passwordFile = value;
    } else if (key == "interface") {
        settings.interface = static_cast<int>(wholeNumber(value, 0, 255));
    } else if (key == "timeout") {
        settings.timeout = seconds(value, 0.1, 600);
    } else if (key == "sensor-cache") {
        settings.sensorCache = seconds(value, 0, 3600);
    } else if (key == "system-name") {
        settings.systemName = value;
    } else if (key == "password") {
        throw std::invalid_argument("passwords are not written here; name a password-file");
    } else {
        throw std::invalid_argument("unknown setting");
    }
}

}  // namespace

IpmiSettings IpmiSettings::read(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw PublishError::fromErrno("IPMI settings " + path, errno);
    std::stringstream text;
    text << in.rdbuf();
    return parse(text.str(), path);
}

IpmiSettings IpmiSettings::parse(const std::string& text, const std::string& origin) {
    IpmiSettings settings;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        const auto equals = line.find('=');
        const std::string where = origin + " line " + std::to_string(number) + ": ";
        if (equals == std::string::npos) throw std::runtime_error(where + "expected key = value");
        const std::string key = trim(line.substr(0, equals));
        try {
            apply(settings, key, trim(line.substr(equals + 1)));
        } catch (const std::invalid_argument& e) {
            throw std::runtime_error(where + key + ": " + e.what());
        }
    }
    if (settings.overLan() && (settings.user.empty() || settings.passwordFile.empty()))
        throw std::runtime_error(origin + ": host is set, so user and password-file are needed");
    return settings;
}

IpmiPassword IpmiPassword::read(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) throw PublishError::fromErrno("password file " + path, errno);
    IpmiPassword password;
    struct stat info {};
    char buffer[kMaxPassword + 2] = {};
    const bool statted = fstat(fd, &info) == 0;
    const ssize_t size = statted ? ::read(fd, buffer, sizeof buffer) : -1;
    const int error = errno;
    close(fd);
    if (!statted || size < 0) throw PublishError::fromErrno("password file " + path, error);
    if (!S_ISREG(info.st_mode))
        throw PublishError(PublishError::kAccessDenied,
                           "password file " + path + " is not a regular file; refusing it");
    if ((info.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        throw PublishError(PublishError::kAccessDenied, "password file " + path +
                                                            " is open to group or others (mode " +
                                                            mode + "); refusing it: chmod 600 it");
    }
    std::size_t length = static_cast<std::size_t>(size);
    if (length > 0 && buffer[length - 1] == '\n') --length;
    if (length > 0 && buffer[length - 1] == '\r') --length;
    password.text_.assign(buffer, length);
    volatile char* wipe = buffer;
    for (std::size_t i = 0; i < sizeof buffer; ++i) wipe[i] = 0;
    if (password.text_.size() > kMaxPassword)
        throw PublishError(PublishError::kProviderFailure,
                           "password file " + path + " holds more than 20 bytes");
    return password;
}

IpmiPassword::IpmiPassword(IpmiPassword&& other) noexcept : text_(std::move(other.text_)) {
    other.text_.clear();
}

IpmiPassword::~IpmiPassword() {
    volatile char* wipe = text_.data();
    for (std::size_t i = 0; i < text_.size(); ++i) wipe[i] = 0;
}

}  // namespace nvx4::repository
