// A parsed connection URL: driver:database//key=value,key=value
#ifndef DBURL_H
#define DBURL_H

#include <map>
#include <string>

class DBUrl {
  public:
    // Raises CDBC_Exception 0x22000FFF when the URL has no ":" and 0x22000FFE when the first ":"
    // is its last character.
    explicit DBUrl(std::string url);

    std::string getDriverName() const;
    std::string getDatabaseName() const;
    // The value stored under `key`; an absent key is added with an empty value.
    std::string getProperty(const std::string& key) const;

  private:
    void parseProperties(const std::string& url, std::string::size_type start);

    std::string driverName;
    std::string databaseName;
    // Mutable because reading an absent property records it, also through a const URL.
    mutable std::map<std::string, std::string> properties;
};

#endif
