#include "SimulatedBmc.h"

#include "CommandOutput.h"
#include "FreePort.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace nvx4::test {

namespace {

using Bytes = std::vector<int>;

std::string hexList(const Bytes& bytes) {
    std::ostringstream text;
    for (int byte : bytes) text << " 0x" << std::hex << (byte & 0xff);
    return text.str();
}

Bytes record(int id, int type, const Bytes& body) {
    Bytes bytes = {id & 0xff, id >> 8, 0x51, type, static_cast<int>(body.size())};
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

// 8-bit text with its type/length byte, as SDRs and FRU areas hold names.
void addText(Bytes& bytes, const std::string& text) {
    bytes.push_back(0xc0 | static_cast<int>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// A threshold sensor: degrees C, M=1, B=0, thresholds lnr 5, lc 10, lnc 15, unc 85, uc 90,
// unr 95, nominal 40, hysteresis 2 both ways.
Bytes fullSdr(const SimSensor& s) {
    Bytes body = {0x20, 0x00, s.number, 0x03, 0x01, 0x7f, 0x68 | 0x0c, s.type, 0x01, 0x95, 0x0a,
                  0x95, 0x0a, 0x3f,     0x3f, 0x00, 0x01, 0x00,        0x00,   0x01, 0x00, 0x00,
                  0x00, 0x00, 0x00,     0x01, 40,   0,    0,           0xff,   0x00, 95,   90,
                  85,   5,    10,       15,   2,    2,    0,           0,      0};
    addText(body, s.name);
    return record(s.number, 0x01, body);
}

Bytes compactSdr(const SimSensor& s) {
    Bytes body = {0x20, 0x00, s.number, 0x07, 0x01, 0x7f, 0x40, s.type, 0x6f, 0xff, 0x7f, 0, 0,
                  0xff, 0x7f, 0xc0,     0,    0,    0,    0,    0,      0,    0,    0,    0, 0};
    addText(body, s.name);
    return record(s.number, 0x02, body);
}

// The zero checksum FRU headers and areas end with.
void addChecksum(Bytes& bytes) {
    int sum = 0;
    for (int byte : bytes) sum += byte;
    bytes.push_back((256 - sum % 256) % 256);
}

Bytes fruArea(Bytes fields) {
    fields.push_back(0xc1);
    while ((fields.size() + 1) % 8 != 0) fields.push_back(0);
    fields[1] = static_cast<int>((fields.size() + 1) / 8);
    addChecksum(fields);
    return fields;
}

// Chassis, board and product areas with the texts the tests expect.
Bytes fruData() {
    Bytes chassis = {0x01, 0, 0x17};
    addText(chassis, "CH-PART-1");
    addText(chassis, "CH-SERIAL-1");
    // Made 1000 minutes after 1996-01-01 00:00 UTC.
    Bytes board = {0x01, 0, 0x19, 0xe8, 0x03, 0x00};
    for (const char* text : {"Board Maker", "Board X1", "BRD-SN-7", "BRD-PN-7", "board.fru"})
        addText(board, text);
    Bytes product = {0x01, 0, 0x19};
    for (const char* text :
         {"Product Maker", "Product Y", "PRD-MODEL", "v2", "PRD-SN-9", "ASSET-42", "prod.fru"})
        addText(product, text);
    chassis = fruArea(chassis);
    board = fruArea(board);
    product = fruArea(product);
    const int chassisAt = 1, boardAt = chassisAt + static_cast<int>(chassis.size()) / 8;
    const int productAt = boardAt + static_cast<int>(board.size()) / 8;
    Bytes header = {0x01, 0, chassisAt, boardAt, productAt, 0, 0};
    addChecksum(header);
    for (const Bytes* area : {&chassis, &board, &product})
        header.insert(header.end(), area->begin(), area->end());
    return header;
}

}  // namespace

SimulatedBmc::SimulatedBmc(std::vector<SimSensor> sensors) {
    if (sensors.empty())
        sensors = {{1, 0x01, "CPU Temp", true, 42},
                   {2, 0x01, "Board Temp", true, 88},
                   {3, 0x07, "CPU Status", false, 7},
                   {4, 0x25, "Drive Present", false, 0}};
    char pattern[] = "/tmp/nvx4-ipmisim-XXXXXX";
    folder_ = mkdtemp(pattern);
    mkdir((folder_ + "/state").c_str(), 0700);
    mkdir((folder_ + "/sdr-cache").c_str(), 0700);
    port_ = nvx4::test::freeUdpPort();
    writeFiles(sensors);
    pid_ = fork();
    if (pid_ == 0) {
        const int log = open((folder_ + "/sim.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(log, 1);
        dup2(log, 2);
        execlp("ipmi_sim", "ipmi_sim", "-n", "-c", (folder_ + "/lan.conf").c_str(), "-f",
               (folder_ + "/bmc.emu").c_str(), "-s", (folder_ + "/state").c_str(), nullptr);
        _exit(127);
    }
    waitUntilAnswering();
    // No emulator command sets the watchdog: Set Watchdog Timer, SMS/OS use, 30 s countdown,
    // not started (the simulator refuses any action on expiry but "none").
    ipmitool("raw 0x06 0x24 0x04 0x00 0x00 0x00 0x2c 0x01 >/dev/null");
}

SimulatedBmc::~SimulatedBmc() {
    stop();
    commandOutput("rm -rf '" + folder_ + "'");
}

void SimulatedBmc::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void SimulatedBmc::writeFiles(const std::vector<SimSensor>& sensors) const {
    std::ofstream lan(folder_ + "/lan.conf");
    lan << "name \"nvx4sim\"\nset_working_mc 0x20\n  startlan 1\n    addr 127.0.0.1 " << port_
        << "\n    priv_limit admin\n"
           "    guid a123456789abcdefa123456789abcdef\n  endlan\n"
        << "  user 2 true \"" << kAdmin << "\" \"" << kAdminPassword << "\" admin 10 md5\n"
        << "  user 3 true \"" << kOperator << "\" \"" << kOperatorPassword
        << "\" operator 10 md5\n";
    std::ofstream emu(folder_ + "/bmc.emu");
    emu << "mc_setbmc 0x20\n"
           "mc_add 0x20 0 no-device-sdrs 0x23 9 8 0x9f 0x1291 0xf02 persist_sdr\n"
           "sel_enable 0x20 1000 0x0a\n";
    for (const SimSensor& s : sensors) {
        if (s.threshold) {
            emu << "sensor_add 0x20 0 " << s.number << " " << s.type << " 0x01\n"
                << "main_sdr_add 0x20" << hexList(fullSdr(s)) << "\n"
                << "sensor_set_threshold 0x20 0 " << s.number
                << " settable 111111 95 90 85 5 10 15\n"
                << "sensor_set_hysteresis 0x20 0 " << s.number << " settable 2 2\n"
                << "sensor_set_value 0x20 0 " << s.number << " " << s.raw << " 0\n";
        } else {
            emu << "sensor_add 0x20 0 " << s.number << " " << s.type << " 0x6f\n"
                << "main_sdr_add 0x20" << hexList(compactSdr(s)) << "\n"
                << "sensor_set_bit 0x20 0 " << s.number << " " << s.raw << " 1 0\n";
        }
        // Sensors start unscanned (no reading); no events, so the SEL holds only what is added.
        emu << "sensor_set_event_support 0x20 0 " << s.number
            << " enable scanning per-state 000000000000000 000000000000000 000000000000000 "
               "000000000000000\n";
    }
    // A temperature event and a processor-presence event, as a sensor would log them.
    emu << "sel_add 0x20 0x02 0 0 0 0 0x20 0 0x04 0x01 0x01 0x01 0x07 0x00 0x00\n"
           "sel_add 0x20 0x02 0 0 0 0 0x20 0 0x04 0x07 0x03 0x6f 0x07 0xff 0xff\n";
    const Bytes fru = fruData();
    emu << "mc_add_fru_data 0x20 0 " << fru.size() << " data" << hexList(fru) << "\n";
    // Last, so that a line the simulator rejects (which silently ends the file) leaves the
    // controller disabled and the start fails loudly.
    emu << "mc_enable 0x20\n";
}

void SimulatedBmc::waitUntilAnswering() const {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (ipmitool("mc info 2>/dev/null").find("Device ID") != std::string::npos) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    throw std::runtime_error("ipmi_sim did not answer on port " + std::to_string(port_) +
                             "; log: " + commandOutput("cat " + folder_ + "/sim.log"));
}

std::string SimulatedBmc::settings(const std::string& password, unsigned mode,
                                   const std::string& extra) const {
    const std::string passwordFile = folder_ + "/password";
    std::ofstream(passwordFile) << password << "\n";
    chmod(passwordFile.c_str(), mode);
    const std::string path = folder_ + "/ipmi.conf";
    // The privilege is left to its default, which the comparisons need; a comment ends a value.
    std::ofstream(path) << "host = 127.0.0.1 # the simulator\nport = " << port_
                        << "\nuser = " << kOperator << "\npassword-file = " << passwordFile
                        << "\ntimeout = 2\n"
                        << extra;
    return path;
}

std::string SimulatedBmc::ipmitool(const std::string& arguments) const {
    return commandOutput("ipmitool -I lanplus -C 3 -H 127.0.0.1 -p " + std::to_string(port_) +
                         " -U " + kAdmin + " -P " + kAdminPassword + " " + arguments);
}

std::string SimulatedBmc::freeipmi(const std::string& tool, const std::string& arguments) const {
    return commandOutput(tool + " -D LAN_2_0 -I 3 -h 127.0.0.1:" + std::to_string(port_) + " -u " +
                         kAdmin + " -p " + kAdminPassword +
                         " -W opensesspriv --sdr-cache-directory=" + folder_ + "/sdr-cache " +
                         arguments + " 2>&1");
}

}  // namespace nvx4::test
