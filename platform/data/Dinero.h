// Money as whole cents, the one form in which the windows, the reports and
// the store read, round and write it.
//
// The rounding rule: an amount goes to the cent as its decimal text reads,
// halves away from zero (1.005 is 1.01, 0.125 is 0.13, -0.025 is -0.03).
// Whole units are another matter: the invoices round those halves to even.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

class Dinero {
public:
    constexpr Dinero() = default;
    static constexpr Dinero DeCentavos(qint64 centavos) { return Dinero(centavos); }
    // valor rounded to the cent by the rule; a value that is no number is 0.
    static Dinero De(double valor);
    // A money text as a clerk types it: digits with at most two decimals
    // after a point ("118", "117.5", "0.99", ".5"), blanks around it; none
    // for a sign, a comma, an exponent, a third decimal or no digit.
    static std::optional<Dinero> Leer(const QString& texto);

    constexpr qint64 centavos() const { return centavos_; }
    // The amount as the double the store keeps; never "-0".
    double valor() const { return centavos_ == 0 ? 0.0 : double(centavos_) / 100.0; }
    // "#,##0.00" with the point and comma fixed: "1,234.50", "-0.03".
    QString Texto() const;
    void AgregarA(QString& destino) const;

    constexpr Dinero operator+(Dinero o) const { return Dinero(centavos_ + o.centavos_); }
    constexpr Dinero operator-(Dinero o) const { return Dinero(centavos_ - o.centavos_); }
    constexpr Dinero& operator+=(Dinero o)
    {
        centavos_ += o.centavos_;
        return *this;
    }
    constexpr auto operator<=>(const Dinero&) const = default;

private:
    constexpr explicit Dinero(qint64 c) : centavos_(c) {}
    qint64 centavos_ = 0;
};

// valor rounded to the cent by the rule, as a double.
inline double EnCentavos(double valor) { return Dinero::De(valor).valor(); }
