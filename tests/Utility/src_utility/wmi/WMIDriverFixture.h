// The WMI driver suite's fixture: a connection, a statement and a result set over the test
// service of the platform the suite runs on, deleted in reverse order before the service checks
// what was left behind.
#ifndef NVX4_WMI_DRIVER_FIXTURE_H
#define NVX4_WMI_DRIVER_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "DBConnection.h"
#include "DBDriver.h"
#include "DBStatement.h"
#include "DBUrl.h"
#include "WMIConnection.h"
#include "WMIResultSet.h"
#include "WMITestService.h"

class WMIDriverTest : public ::testing::Test {
  protected:
    void open() {
        connection_.reset(DBDriver::getConnection(DBUrl(WMITestService::kUrl)));
        // The driver answers with no connection when it cannot allocate one.
        if (connection_ == nullptr) throw std::bad_alloc();
        statement_.reset(connection_->createStatement());
    }
    WMIResultSet* query(const std::string& text) {
        if (statement_ == nullptr) open();
        rows_.reset(dynamic_cast<WMIResultSet*>(statement_->executeQuery(text)));
        return rows_.get();
    }
    WMIConnection& wmi() {
        if (connection_ == nullptr) open();
        return dynamic_cast<WMIConnection&>(*connection_);
    }
    void close() {
        rows_.reset();
        statement_.reset();
        connection_.reset();
    }
    // The values of an integer property in the rows left, read until next() says there are no more.
    std::vector<int> remaining(const std::string& property) {
        std::vector<int> values;
        while (rows_->next()) values.push_back(rows_->getInt(property));
        return values;
    }

    WMITestService service_;
    std::unique_ptr<DBConnection> connection_;
    std::unique_ptr<DBStatement> statement_;
    std::unique_ptr<WMIResultSet> rows_;
};

#endif
