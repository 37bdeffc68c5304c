#pragma once

#include <QString>

// Query values for the service. Every byte that cannot stand in a query value (space,
// "#", "%", "+", "&", "=", non-ASCII, control characters) is percent-encoded, so that
// ordinary names and comments make well-formed URLs.

// Percent-encoding only: the account requests send their values otherwise as typed.
QString PercentEncodeQueryValue(const QString& value);

// The service's rule for names: every "'" doubled, every "&&" (a "&" in a photo's file
// stem) sent as one encoded "&"; then percent-encoding.
QString EscapeQueryValue(const QString& value);

// The rule for comments and album names: every "'" doubled; then percent-encoding.
QString EscapeQueryText(const QString& value);
