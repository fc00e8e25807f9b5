#pragma once

// How a read of the database went: the diagnostics tell a query that could not run from one
// that found nothing.
enum class ReadResult { Failed, Empty, Rows };
