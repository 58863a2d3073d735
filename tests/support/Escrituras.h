// Store writes that fail on purpose, until the end of the scope, for the
// tests of what a failed unit leaves behind.
#pragma once

#include "adodb.h"

#include <QString>

namespace escrituras {

// The enLaEscritura-th write to the store fails; cuenta counts them all.
struct FalloEnEscritura {
    int cuenta = 0;
    explicit FalloEnEscritura(int enLaEscritura)
    {
        ado::Connection::setWriteHook([this, enLaEscritura](const QString&) {
            if (++cuenta == enLaEscritura)
                throw ado::Error{3000, QStringLiteral("fallo de escritura simulado")};
        });
    }
    ~FalloEnEscritura() { ado::Connection::setWriteHook({}); }
    FalloEnEscritura(const FalloEnEscritura&) = delete;
    FalloEnEscritura& operator=(const FalloEnEscritura&) = delete;
};

// Every write whose statement starts with comienzo fails.
struct FalloAlEscribir {
    explicit FalloAlEscribir(const QString& comienzo)
    {
        ado::Connection::setWriteHook([comienzo](const QString& sql) {
            if (sql.startsWith(comienzo, Qt::CaseInsensitive))
                throw ado::Error{3000, QStringLiteral("fallo de escritura simulado")};
        });
    }
    ~FalloAlEscribir() { ado::Connection::setWriteHook({}); }
};

}  // namespace escrituras
