// `orvane db`: inspect record databases.
//
//   orvane db list FILE                  the records, as a table (or --json)
//   orvane db get FILE TYPE ID [-o OUT]  a record's data (as the run-time loads it)
//   orvane db put FILE TYPE ID DATA [--name N] [--create]
//   orvane db check FILE                 every inconsistency found
//
// Exit status: 0 success, 1 a reported failure, 2 bad usage.
#pragma once

namespace orvane {

// argv[0] is "db".
int db_main(int argc, char** argv);

}  // namespace orvane
