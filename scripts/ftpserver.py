"""A private FTP server for the tests (Debian's python3-pyftpdlib).

    ftpserver.py ROOT PORTFILE

Serves ROOT on 127.0.0.1 on a free port, which it writes to PORTFILE once it
listens. Users: "kml" (password "Ti tok:@/#1", may write) and "olvaso"
(password "csak-olvas", read only); both log in to ROOT.
"""
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

root, port_file = sys.argv[1], sys.argv[2]
authorizer = DummyAuthorizer()
authorizer.add_user("kml", "Ti tok:@/#1", root, perm="elradfmwMT")
authorizer.add_user("olvaso", "csak-olvas", root, perm="elr")

handler = FTPHandler
handler.authorizer = authorizer
handler.banner = "KoravelML test FTP"
logging.basicConfig(level=logging.WARNING)

server = FTPServer(("127.0.0.1", 0), handler)
server.max_cons = 64
tmp = port_file + ".tmp"
with open(tmp, "w") as f:
    f.write(str(server.address[1]))
os.replace(tmp, port_file)
server.serve_forever()
