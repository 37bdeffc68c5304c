#include "ServicePages.h"

#include <algorithm>
#include <cstdio>

namespace ServicePages {
namespace {
const char* const kBrand = "Pelloria";

const char* const kStyle = R"css(
:root {
  --page: #f3f0eb; --card: #ffffff; --ink: #26303b; --muted: #6b7580; --line: #e3ded6;
  --accent: #2f7d7a; --accent-soft: #dcefed; --warn: #b4543a;
  --shadow: 0 1px 2px rgba(38, 48, 59, .06), 0 6px 18px rgba(38, 48, 59, .09);
}
* { box-sizing: border-box; }
html { -webkit-text-size-adjust: 100%; }
body {
  margin: 0; background: var(--page); color: var(--ink);
  font: 16px/1.5 system-ui, -apple-system, "Segoe UI", Roboto, "Helvetica Neue", Arial, sans-serif;
}
a { color: var(--accent); text-decoration: none; }
a:hover { text-decoration: underline; }
header.bar {
  display: flex; align-items: center; gap: .6rem; padding: .8rem 1.25rem;
  background: var(--card); border-bottom: 1px solid var(--line);
}
.brand { font-weight: 700; font-size: 1.15rem; letter-spacing: .02em; color: var(--ink); }
.brand::before {
  content: ""; display: inline-block; width: .9rem; height: .9rem; margin-right: .5rem;
  border-radius: 50%; background: linear-gradient(135deg, #f0a35e, var(--accent));
  vertical-align: -.05rem;
}
main { max-width: 1120px; margin: 0 auto; padding: 1.5rem 1.25rem 3rem; }
h1 { font-size: 1.7rem; line-height: 1.25; margin: .2rem 0 1.2rem; overflow-wrap: anywhere; }
h2 { font-size: 1.15rem; margin: 2rem 0 .8rem; color: var(--muted); font-weight: 600; }
.card {
  background: var(--card); border-radius: 14px; box-shadow: var(--shadow);
  padding: 1.25rem 1.4rem; overflow-wrap: anywhere;
}
.card > p:first-child { margin-top: 0; }
.card > p:last-child { margin-bottom: 0; }
.muted { color: var(--muted); }
.grid { display: grid; gap: 1.1rem; grid-template-columns: repeat(auto-fill, minmax(210px, 1fr)); }
.photo-card { display: flex; flex-direction: column; padding: 0; overflow: hidden; color: inherit; }
.photo-card:hover { text-decoration: none; transform: translateY(-2px); }
.photo-card img { width: 100%; aspect-ratio: 4 / 3; object-fit: cover; display: block; background: var(--line); }
.photo-card .text { padding: .7rem .9rem .9rem; }
.photo-card .name { font-weight: 600; }
.photo-card .comment { color: var(--muted); font-size: .92rem; margin-top: .2rem; white-space: pre-line; }
.pills { display: flex; flex-wrap: wrap; gap: .5rem; padding: 0; margin: 0; list-style: none; }
.pills a, .pills span {
  display: inline-block; padding: .35rem .85rem; border-radius: 999px;
  background: var(--card); box-shadow: var(--shadow); font-size: .95rem;
}
.pills span.current { background: var(--accent); color: #fff; }
.large { text-align: center; padding: .8rem; }
.large img {
  max-width: 100%; max-height: 74vh; object-fit: contain; display: block; margin: 0 auto;
  border-radius: 8px;
}
.caption { margin-top: 1rem; white-space: pre-line; }
.sheet-wrap { display: flex; justify-content: center; margin: 1.2rem 0; }
.sheet {
  width: min(100%, calc((100vh - 240px) * 8.5 / 11)); min-width: min(100%, 280px);
  aspect-ratio: 8.5 / 11; background: #fff; box-shadow: var(--shadow); border-radius: 4px;
  padding: 5%; display: grid; gap: 3%;
}
.place { min-width: 0; min-height: 0; overflow: hidden; border-radius: 3px; position: relative; }
.place img { width: 100%; height: 100%; object-fit: cover; display: block; }
.place.free { border: 2px dashed #cfd3d8; background: #fafafa; }
.meter { height: 1.1rem; border-radius: 999px; background: var(--accent-soft); overflow: hidden; margin: 1rem 0 .6rem; }
.meter div { height: 100%; background: var(--accent); border-radius: 999px; }
.meter.full div { background: var(--warn); }
.figures { display: flex; flex-wrap: wrap; gap: .4rem 2rem; }
.figures b { font-size: 1.25rem; display: block; }
code { background: #f1efe9; padding: .1rem .35rem; border-radius: 5px; font-size: .92em; overflow-wrap: anywhere; }
footer { text-align: center; color: var(--muted); font-size: .85rem; padding: 0 1rem 2rem; }
@media (max-width: 560px) {
  main { padding: 1rem .85rem 2rem; }
  h1 { font-size: 1.35rem; }
  .grid { grid-template-columns: repeat(2, minmax(0, 1fr)); gap: .7rem; }
  .photo-card .text { padding: .5rem .6rem .7rem; font-size: .92rem; }
  .sheet { width: 100%; }
}
)css";

std::string Document(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         "<title>" +
         escape(std::string(kBrand) + " - " + title) + "</title>\n<style>" + kStyle +
         "</style>\n</head>\n<body>\n<header class=\"bar\"><a class=\"brand\" href=\"/\">" +
         kBrand + "</a></header>\n<main>\n" + body + "</main>\n<footer>" + kBrand +
         " photo sharing for Brivane</footer>\n</body>\n</html>\n";
}

std::string Possessive(const std::string& name) {
  if (name.empty()) return "Shared";
  return name + (name.back() == 's' ? "'" : "'s");
}
}  // namespace

std::string escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string byteCount(std::int64_t bytes) {
  const char* const units[] = {"bytes", "KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes);
  int unit = 0;
  while (value >= 1024 && unit < 4) {
    value /= 1024;
    ++unit;
  }
  char text[64];
  if (unit == 0)
    std::snprintf(text, sizeof text, "%lld bytes", static_cast<long long>(bytes));
  else
    std::snprintf(text, sizeof text, value < 10 ? "%.1f %s" : "%.0f %s", value, units[unit]);
  return text;
}

std::string home() {
  return Document("Photo sharing",
                  "<h1>Photo sharing for your family and friends</h1>\n"
                  "<div class=\"card\"><p>" +
                      std::string(kBrand) +
                      " keeps the photos and photo albums that you publish from the Brivane photo "
                      "program, and shows them to the people you send the links to.</p>"
                      "<p class=\"muted\">To publish, open Brivane's Web tab, sign up with this "
                      "service and send your photos. Brivane then gives you the addresses of "
                      "your pages.</p></div>\n");
}

std::string program() {
  return Document("Brivane",
                  "<h1>Brivane</h1>\n"
                  "<div class=\"card\"><p>Brivane is a photo program from Veldano: get photos from "
                  "your camera or scanner, touch them up, print labels and albums and share them "
                  "on the web.</p>"
                  "<p class=\"muted\">Ask the people who run this service where to get its newest "
                  "version.</p></div>\n");
}

std::string message(const std::string& title, const std::string& text) {
  return Document(title, "<h1>" + escape(title) + "</h1>\n<div class=\"card\"><p>" + escape(text) +
                             "</p></div>\n");
}

std::string myPhotos(const std::string& ownerName, const std::vector<PhotoCard>& photos,
                     const std::vector<AlbumLink>& albumPages) {
  const std::string title = Possessive(ownerName) + " photos";
  std::string body = "<h1>" + escape(title) + "</h1>\n";
  if (photos.empty()) {
    body += "<div class=\"card\"><p class=\"muted\">No photos have been published yet.</p></div>\n";
  } else {
    body += "<div class=\"grid\">\n";
    for (const PhotoCard& card : photos) {
      body += "<a class=\"card photo-card\" href=\"" + escape(card.pageUrl) + "\"><img src=\"" +
              escape(card.imageUrl) + "\" alt=\"" + escape(card.name) +
              "\" loading=\"lazy\"><div class=\"text\"><div class=\"name\">" + escape(card.name) +
              "</div>";
      if (!card.comment.empty())
        body += "<div class=\"comment\">" + escape(card.comment) + "</div>";
      body += "</div></a>\n";
    }
    body += "</div>\n";
  }
  if (!albumPages.empty()) {
    body += "<h2>Photo albums</h2>\n<ul class=\"pills\">\n";
    for (const AlbumLink& link : albumPages)
      body += "<li><a href=\"" + escape(link.url) + "\">" + escape(link.label) + "</a></li>\n";
    body += "</ul>\n";
  }
  return Document(title, body);
}

std::string photo(const std::string& ownerName, const std::string& name, const std::string& comment,
                  const std::string& imageUrl, std::int64_t width, std::int64_t height) {
  std::string body = "<h1>" + escape(name) + "</h1>\n<div class=\"card large\"><img src=\"" +
                     escape(imageUrl) + "\" alt=\"" + escape(name) + "\">";
  if (!comment.empty()) body += "<p class=\"caption\">" + escape(comment) + "</p>";
  body += "</div>\n<p class=\"muted\">Shared by " + escape(ownerName);
  if (width > 0 && height > 0)
    body += " &middot; " + std::to_string(width) + " &times; " + std::to_string(height) + " pixels";
  body += "</p>\n";
  return Document(name, body);
}

std::string albumPage(const AlbumSheet& sheet) {
  const int pages = static_cast<int>(sheet.pageUrls.size());
  std::string body = "<h1>" + escape(sheet.albumName) + "</h1>\n<p class=\"muted\">" +
                     escape(Possessive(sheet.ownerName)) + " photo album &middot; page " +
                     std::to_string(sheet.pageNumber + 1) + " of " + std::to_string(pages) +
                     "</p>\n";
  if (pages > 1) {
    body += "<nav><ul class=\"pills\">\n";
    for (int p = 0; p < pages; ++p) {
      const std::string label = std::to_string(p + 1);
      if (p == sheet.pageNumber)
        body += "<li><span class=\"current\" aria-current=\"page\">" + label + "</span></li>\n";
      else
        body += "<li><a href=\"" + escape(sheet.pageUrls[static_cast<std::size_t>(p)]) + "\">" +
                label + "</a></li>\n";
    }
    body += "</ul></nav>\n";
  }
  body += "<div class=\"sheet-wrap\"><div class=\"sheet\" style=\"grid-template-columns: repeat(" +
          std::to_string(sheet.columns) + ", minmax(0, 1fr)); grid-template-rows: repeat(" +
          std::to_string(sheet.rows) + ", minmax(0, 1fr))\">\n";
  for (const AlbumPlace& place : sheet.places) {
    if (place.name.empty())
      body += "<div class=\"place free\"></div>\n";
    else
      body += "<div class=\"place\"><img src=\"" + escape(place.imageUrl) + "\" alt=\"" +
              escape(place.name) + "\" title=\"" + escape(place.name) + "\"></div>\n";
  }
  body += "</div></div>\n";
  return Document(sheet.albumName, body);
}

std::string webSpace(const std::string& ownerName, const std::string& userId, std::int64_t used,
                     std::int64_t purchased) {
  const double share = purchased > 0 ? std::clamp(static_cast<double>(used) / purchased, 0.0, 1.0)
                                     : (used > 0 ? 1.0 : 0.0);
  const std::int64_t available = std::max<std::int64_t>(0, purchased - used);
  char percent[16];
  std::snprintf(percent, sizeof percent, "%.1f", share * 100);
  std::string body =
      "<h1>" + escape(Possessive(ownerName)) + " web space</h1>\n<div class=\"card\">";
  body += "<div class=\"figures\"><div><span class=\"muted\">Used</span><b>" + byteCount(used) +
          "</b></div><div><span class=\"muted\">Available</span><b>" + byteCount(available) +
          "</b></div><div><span class=\"muted\">In all</span><b>" + byteCount(purchased) +
          "</b></div></div>";
  body += std::string("<div class=\"meter") + (share >= 0.9 ? " full" : "") +
          "\" role=\"meter\" aria-valuemin=\"0\" aria-valuemax=\"100\" aria-valuenow=\"" + percent +
          "\"><div style=\"width: " + percent + "%\"></div></div>";
  body += "<p class=\"muted\">" + std::string(percent) + "% of your space is in use.</p></div>\n";
  body +=
      "<h2>More space</h2>\n<div class=\"card\"><p>This service is run by a person you know, "
      "not by a shop: ask them for more space. On the server they raise it with</p>"
      "<p><code>brivane-service set-space " +
      escape(userId) +
      " &lt;bytes&gt;</code></p><p class=\"muted\">for example <code>brivane-service "
      "set-space " +
      escape(userId) + " 5368709120</code> for 5 GB.</p></div>\n";
  return Document("Web space", body);
}
}  // namespace ServicePages
