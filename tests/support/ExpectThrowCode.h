// Asserts that a statement raises a CDBC_Exception (or a subclass) with a given code and message.
#ifndef NVX4_EXPECT_THROW_CODE_H
#define NVX4_EXPECT_THROW_CODE_H

#include <gtest/gtest.h>

#include "CDBC_Exception.h"

#define EXPECT_CDBC_THROW(statement, expectedCode, expectedMessage)          \
    do {                                                                     \
        try {                                                                \
            statement;                                                       \
            ADD_FAILURE() << "no exception from " #statement;                \
        } catch (const CDBC_Exception& e) {                                  \
            EXPECT_EQ(e.code, static_cast<int>(expectedCode)) << #statement; \
            EXPECT_EQ(e.message, expectedMessage) << #statement;             \
            EXPECT_NE(e.file, nullptr);                                      \
            EXPECT_GT(e.line, 0);                                            \
        }                                                                    \
    } while (0)

#endif
