#pragma once

// Base of the tests that need the host: a fresh host folder with its
// settings, workgroup file and shared database (sample declarants and users),
// WINDIR pointing at it and the main program's start-up state in place, as
// if Tarvel had just loaded its main window.

#include "platform/dialogs.h"
#include "tests/support/QtPrint.h"
#include "tools/hostkit/hostkit.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>
#include <gtest/gtest.h>

namespace platform { class Database; }

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the form's own tables and rows in the shared database. Runs in
    // SetUp, after the database is open, while `withFormTables` is set.
    virtual void installFormTables();

    const hostkit::HostPaths& paths() const { return paths_; }
    platform::Database& db();
    // Rows of a query as "a|b|c" lines, in the order it gives them; a null
    // value reads as `nullText`.
    QStringList rows(const QString& sql, const QVariantList& params = {}, const QString& nullText = {});

    // Set these in a derived fixture's constructor; SetUp reads them.
    hostkit::PrepareOptions hostOptions;
    bool withFormTables = true;

    // Every message box and modal form of the test; a box without a queued
    // answer fails the test.
    platform::DialogScript script;

private:
    QTemporaryDir dir_;
    hostkit::HostPaths paths_;
    QByteArray savedWindir_;
    bool hadWindir_ = false;
    QString savedCurrentDir_;
};
