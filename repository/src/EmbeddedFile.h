// MOF files compiled into the library (the generated EmbeddedMof.cpp defines them): the schema,
// and the bundled samples in file-name order.
#ifndef NVX4_REPOSITORY_EMBEDDEDFILE_H
#define NVX4_REPOSITORY_EMBEDDEDFILE_H

#include <cstddef>

namespace nvx4::repository {

struct EmbeddedFile {
    const char* name;  // relative to repository/, e.g. "samples/server.mof"
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedFile kEmbeddedSchema;
extern const EmbeddedFile kEmbeddedSamples[];
extern const std::size_t kEmbeddedSampleCount;

}  // namespace nvx4::repository

#endif
