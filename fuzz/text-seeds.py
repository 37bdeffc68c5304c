#!/usr/bin/env python3
"""Writes the text seeds of the fuzz targets whose inputs are small text files or
answers: albums, address book, deleted albums, service answers, FTP listings, SMTP
replies, update answers and service request runs.  fuzz/text-seeds.py CORPUS_FOLDER"""
import os
import shutil
import sys

corpus = sys.argv[1]
here = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(corpus, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def crlf(*lines):
    return "".join(line + "\r\n" for line in lines)


put("labels", "one-group.dat", crlf("1", "Photo Albums", "1",
    "Photo,,,,,,0,C2166,Album Page 2x2,Four photos,8166,18166,,,,3.75,4.75,2,2,0.5,0,0.5,0.5,4,5,0,0"))
shutil.copy(os.path.join(here, "..", "content", "labels.dat"), os.path.join(corpus, "labels", "labels.dat"))

put("albums", "two-albums.dat", crlf(
    "2", "Holidays 2026", "2",
    "C2166", "4", "http://localhost:8080/viewalbum.asp?UserId=%s&AlbumId=811435930&PageNum=0",
    "Beach", "", "Fish && Chips", "Sunset",
    "C2166", "1", "", "Harbour",
    "Family", "1", "X9999", "2", "", "Grandma", "Grandpa"))
put("albums", "short.dat", crlf("3", "Only one", "5", "C2166"))
put("albums", "bom-latin.dat", b"\xef\xbb\xbf1\r\nCaf\xc3\xa9\r\n1\r\nC2166\r\n1\r\n\r\n" + b"x" * 600 + b"\r\n")

put("addressbook", "two.dat", crlf("2", "Maria Lopez", "maria@example.com", "Jon", "jon@example.org"))
put("addressbook", "short.dat", "5\r\nOnly\r\n")
put("addressbook", "long-line.dat", "1\r\n" + "n" * 700 + "\r\nx@example.com   \r\n")

put("deletedalbums", "names.dat", crlf("Holidays 2026", "Old album", "Fish & Chips"))
put("deletedalbums", "unended.dat", "Holidays\r\nCut")
put("deletedalbums", "long-line.dat", "a" * 600 + "\n\n\r\nB\n")

put("response", "register.txt", crlf("UserId=761633016"))
put("response", "getpaths.txt", crlf("UploadPath=ftp://localhost:2121/photos", "UploadId=761633016",
    "UploadPwd=Ab12Cd34Ef56Gh78Ij90", "WebPath=http://localhost:8080/", "DiskSpaceUsed=276997",
    "DiskSpacePurchased=1073741824", "ActiveFlag=1", "ErrorMsg="))
put("response", "getalbums.txt", crlf("AlbumCount=2", "AlbumNum=0", "AlbumName=Holidays 2026", "NumPages=1",
    "NumRows=2", "NumColumns=2", "Photo0=Beachjpg", "Photo1=jpg", "Photo2=Fish & Chipsjpg", "Photo3=Sunsetjpg",
    "AlbumNum=1", "AlbumName=Family", "NumPages=2", "NumRows=1", "NumColumns=1", "Photo0=Grandmajpg",
    "NumRows=3", "NumColumns=1", "Photo0=jpg", "Photo1=Ajpg", "Photo2=Bjpg"))
put("response", "error.txt", "ErrorMsg=There is no account with the User Id 1.\r\n")
put("response", "url.txt", "URL=http://localhost:8080/viewalbum.asp?UserId=%s&AlbumId=1&PageNum=0\nSpace=12\x00x")

put("ftplisting", "mlsd.txt", b"\x01" + crlf(
    "type=file;size=1234;modify=20260227091500; Beach day.jpg",
    "type=file;size=20;modify=20190704000000.123; Fish && Chips.jpg",
    "type=dir;modify=20260227091500; sub", "type=cdir; .", "type=file;size=5;modify=20260227091500; ../x.jpg",
    "type=file;size=5000000000;modify=20260227091500; huge.jpg").encode())
put("ftplisting", "list-unix.txt", b"\x00" + crlf(
    "-rw-r--r--   1 owner group   1234 Feb 27 09:15 Beach day.jpg",
    "-rw-r--r--   1 owner group     10 Dec 31 23:59 New year.jpg",
    "-rw-r--r--   1 owner group     20 Jul  4  2019 Old.jpg",
    "drwxr-xr-x   2 owner group   4096 Feb 27 09:15 folder",
    "-rw-r--r--   1 owner group     20 Jul  4  2019 ..", "total 12").encode())
put("ftplisting", "list-dos.txt", b"\x00" + crlf(
    "12-09-26  03:41PM             5000 Fish && Chips.jpg",
    "12-09-26  03:41AM       <DIR>          sub").encode())

put("smtpreply", "session.txt", "\x07" + crlf("220 mail.example.com ESMTP ready", "250-mail.example.com",
    "250-SIZE 10240000", "250-AUTH PLAIN LOGIN", "250 STARTTLS", "334 VXNlcm5hbWU6", "235 2.7.0 Accepted",
    "250 OK", "354 End data with <CR><LF>.<CR><LF>", "250 2.0.0 Ok: queued", "221 Bye"))
put("smtpreply", "refusals.txt", "\x01" + crlf("554-No", "554 go away", "550 5.1.1 No such user here") + "250-mixed\n251 other\r\n")
put("smtpreply", "bare.txt", "\x20220\n250\n250-\n250 \n")

put("updateanswer", "newer.txt", "Version=1.2\nDownload=http://localhost:8080/brivane/\nSHA256=" + "0" * 64 + "\n")
put("updateanswer", "crlf.txt", "Version=1.1.0.3\r\nDownload=https://example.org/download/brivane_1.1.deb\r\nSHA256="
    + "ab12" * 16 + "\r\n")
put("updateanswer", "bad.txt", "Version=1..2\nDownload=http://x/$(rm)\nSHA256=zz\n")


def request(path_index, rest):
    # The first byte chooses the path: byte % 20.
    return chr(40 + path_index) + rest


put("servicerequest", "publish.txt", "\n".join([
    request(2, "UserId=$U"),
    request(3, "UserId=$U&Photo=Beach.jpg&Size=4&W=640&H=480&Comment=A%20%22day%22"),
    request(3, "UserId=$U&Photo=Fish%20%26%20Chips.jpg&Size=10&W=1&H=1"),
    request(5, "UserId=$U&WebSpace=14"),
    request(7, "UserId=$U&Album=Holidays&NumPages=2"),
    request(8, "AlbumId=$A&PageNum=0&NumRows=2&NumCols=2"),
    request(9, "UserId=$U&AlbumId=$A&PageNum=0&PhotoNum=0&PhotoName=Beach"),
    request(10, "UserId=$U"),
    request(14, "UserId=$U&AlbumId=$A&PageNum=0"),
    request(13, "UserId=$U&Photo=Beach.jpg"),
    request(12, "UserId=$U&Pwd=secret"),
    request(18, "$U/Beach.jpg"),
    request(4, "UserId=$U&Photo=Beach.jpg"),
    request(6, "UserId=$U&Album=Holidays"),
]))
put("servicerequest", "register.txt", "\n".join([
    request(0, "FirstName=Maria&LastName=Lopez&Address1=1%20Main%20St&City=Springfield&State=IL&Zip=62701"
               "&Phone=555&Email=maria@example.com&Password=pw"),
    request(1, "UserId=$U&Password=secret"),
    request(11, "UserId=$U"),
    request(15, ""), request(16, ""), request(17, ""),
]))
put("servicerequest", "hostile.txt", "\n".join([
    request(18, "$U/../secret.jpg"), request(18, "../secret.jpg"), request(18, "$U/..%2Fsecret.jpg"),
    request(7, "UserId=$U&Album=%3Cscript%3Ealert(1)%3C/script%3E&NumPages=1"),
    request(14, "UserId=$U&AlbumId=$A&PageNum=0"),
    request(3, "UserId=$U&Photo=%3Cscript%3E.jpg&Size=1&W=1&H=1"),
    request(13, "UserId=$U&Photo=%3Cscript%3E.jpg"),
    request(3, "UserId=$U&Photo=a%00b.jpg&Size=-1&W=99999999999&H=1"),
    request(8, "AlbumId=$A&PageNum=99999&NumRows=0&NumCols=1000"),
    request(19, "UserId=$U&Album=%FF%FE&NumPages=1"),
]))
