#pragma once

#include <QByteArray>

// Sets (or unsets) an environment variable for a scope and puts back what
// was there before.
class ScopedEnv {
public:
    explicit ScopedEnv(const char* name)
        : name_(name)
        , had_(qEnvironmentVariableIsSet(name))
        , saved_(qgetenv(name))
    {
    }
    ScopedEnv(const char* name, const QByteArray& value)
        : ScopedEnv(name)
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, saved_);
        else
            qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray saved_;
};
