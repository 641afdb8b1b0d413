// `orvane rsrc`: inspect and edit resource files.
//
//   orvane rsrc list FILE            the resources, as a table (or --json)
//   orvane rsrc extract FILE TYPE ID [-o OUT] | --all DIR
//   orvane rsrc add FILE TYPE ID DATA [--name N] [--attrs A] [--replace]
//   orvane rsrc rm FILE TYPE ID
//   orvane rsrc new FILE [--type T] [--creator C]
//   orvane rsrc check FILE           every inconsistency, with its byte offset
//
// list and extract also read resource forks from classic Macintosh disks and
// say when the run-time would refuse the file. Exit status: 0 success, 1 a
// reported failure, 2 bad usage.
#pragma once

namespace orvane {

// argv[0] is "rsrc".
int rsrc_main(int argc, char** argv);

}  // namespace orvane
