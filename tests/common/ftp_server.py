# SPDX-License-Identifier: MIT
# The FTP server of the transmission tests: pyftpdlib on 127.0.0.1 with a free port, one user,
# and a handler that writes every command it receives to a log, one line each. Names listed in
# the serve file (a JSON object name -> local file) are answered on RETR with that file, as the
# broadcast server answers its "@" names. Commands named with --refuse get a 550 reply, commands
# named with --stall get no reply at all.
import argparse
import json
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--serve", required=True)
    parser.add_argument("--user", default="admin")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--refuse", action="append", default=[])
    parser.add_argument("--stall", action="append", default=[])
    parser.add_argument("--hangup", action="append", default=[])
    parser.add_argument("--stall-data-after", type=int, default=None)
    args = parser.parse_args()
    refusals = {}
    for item in args.refuse:
        cmd, _, code = item.partition(":")
        refusals[cmd] = code or "550"
    texts = {"550": "Refused by the test.", "452": "Insufficient storage space.",
             "552": "Exceeded storage allocation."}
    logging.disable(logging.CRITICAL)
    log = open(args.log, "a", encoding="utf-8")

    class RecordingHandler(FTPHandler):
        raw_arg = ""

        def pre_process_command(self, line, cmd, arg):
            log.write(line + "\n")
            log.flush()
            self.raw_arg = arg
            if cmd in args.stall:
                return
            if cmd in args.hangup:
                self.close()
                return
            if cmd in refusals:
                code = refusals[cmd]
                self.respond("%s %s" % (code, texts.get(code, "Refused by the test.")))
                return
            super().pre_process_command(line, cmd, arg)

        def ftp_RETR(self, file):
            try:
                with open(args.serve, encoding="utf-8") as f:
                    served = json.load(f)
            except (OSError, ValueError):
                served = {}
            if self.raw_arg in served:
                if args.stall_data_after is not None:
                    with open(served[self.raw_arg], "rb") as f:
                        head = f.read(args.stall_data_after)
                    self.push_dtp_data(head, isproducer=False, cmd="RETR")
                    return served[self.raw_arg]
                return super().ftp_RETR(served[self.raw_arg])
            if self.raw_arg.startswith("@"):
                self.respond("550 No such content.")
                return None
            return super().ftp_RETR(file)

    class StallingDTPHandler(DTPHandler):
        # A stalled transfer is never closed: the client sees the data stop, not end.
        def close_when_done(self):
            if args.stall_data_after is not None and self.cmd == "RETR":
                return
            super().close_when_done()

    RecordingHandler.dtp_handler = StallingDTPHandler
    # A refused login is answered at once, not after pyftpdlib's usual pause.
    RecordingHandler.auth_failed_timeout = 0
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    RecordingHandler.authorizer = authorizer
    RecordingHandler.permit_privileged_ports = True
    server = FTPServer(("127.0.0.1", 0), RecordingHandler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
