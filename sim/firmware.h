// The simulated device's firmware: the records of an update taken after ":FU", and the image
// of the last update that reached its end record, kept in the state folder. Its own record
// check, not the tool's, so that a fault in either shows up as a refused record.
#pragma once

#include "sim_options.h"

#include <string>
#include <string_view>
#include <vector>

namespace camsim {

struct Firmware {
    std::vector<std::string> records;  // the data records (byte count above 0), in the order taken
    std::string identification;        // the data of the records at address 0600, type 00
    bool operator==(const Firmware&) const = default;
};

// ":" and hex pairs: a byte count that matches the data pairs, and every byte (count,
// address, type, data and check) adding up to 0 in 8 bits.
bool SoundRecord(std::string_view line);

// One update: records in, each answered.
class FlashSession {
public:
    enum class Result {
        Taken,    // acknowledged
        Refused,  // not a sound record: NAK
        Ended,    // the end record (type 01): the image is complete
    };
    Result take(std::string_view line);
    const Firmware& image() const { return image_; }

private:
    Firmware image_;
};

// The firmware file of a model in a state folder, beside the memory's state file.
std::string FirmwarePath(const std::string& dir, const Model& m);
// "" on success, else why the file was not written (the previous one is then untouched).
std::string SaveFirmware(const Firmware& fw, const std::string& path);
// False with a reason when the file is damaged (fw is then empty). A missing file is no
// error: the device has no firmware image yet.
bool LoadFirmware(const std::string& path, Firmware* fw, std::string* error);

}  // namespace camsim
