#pragma once
// Source folders shaped like the output of two documentation generators, written by the tests
// themselves: a Sphinx-like one (contents as nested <ul> lists on the start page, permalinks
// "¶" in headings, style sheets with a cache-busting query, root links) and a DocBook-like one
// (contents as <dl>/<dt>/<dd> on the start page, pictures written with "//", ISO-8859-1 pages).

#include <string>

#include "support/Scratch.h"

namespace ebook::testing {

inline void WriteSphinxFolder(const Scratch& scratch, const std::string& top) {
  const std::string head =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
      "<link rel=\"stylesheet\" href=\"_static/basic.css?v=2022.1\">\n";
  const std::string related =
      "<div class=\"related\"><ul><li><a href=\"genindex.html\">index</a></li>"
      "<li><a href=\"intro.html\">next</a></li></ul></div>\n";
  scratch.Write(
      top + "/index.html",
      head + "<title>Demo 1.0 documentation</title></head><body>\n" + related +
          "<section id=\"welcome\"><h1>Welcome to Demo<a class=\"headerlink\" "
          "href=\"#welcome\">\xC2\xB6</a></h1></section>\n"
          "<div class=\"toctree-wrapper compound\">\n<ul>\n"
          "<li class=\"toctree-l1\"><a class=\"reference internal\" href=\"intro.html\">"
          "What&#8217;s new</a><ul>\n"
          "<li class=\"toctree-l2\"><a class=\"reference internal\" "
          "href=\"intro.html#first-steps\">First <em>steps</em></a></li>\n"
          "</ul></li>\n"
          "<li class=\"toctree-l1\"><a class=\"reference internal\" href=\"api/index.html\">"
          "API</a><ul>\n"
          "<li class=\"toctree-l2\"><a class=\"reference internal\" href=\"api/core.html\">"
          "Core\n  module</a></li>\n"
          "</ul></li>\n</ul>\n</div>\n"
          "<p>Footer: <a href=\"/genindex.html\">Index</a></p></body></html>\n");
  scratch.Write(top + "/intro.html",
                head + "<title>What’s new — Demo</title></head><body>\n" + related +
                    "<section id=\"whats-new\"><h1>What’s new<a class=\"headerlink\" "
                    "href=\"#whats-new\">\xC2\xB6</a></h1>\n"
                    "<section id=\"first-steps\"><h2>First steps<a class=\"headerlink\" "
                    "href=\"#first-steps\">\xC2\xB6</a></h2></section></section>\n"
                    "<a href=\"api/core.html#core.open\">open()</a></body></html>\n");
  scratch.Write(top + "/api/index.html",
                "<html><head><title>API</title><link rel=stylesheet href=\"../_static/basic.css\">"
                "</head><body><h1 id=\"api\">API</h1><a href=\"core.html\">core</a>"
                "<a href=\"../index.html\">up</a></body></html>\n");
  scratch.Write(top + "/api/core.html",
                "<html><head><title>Core module</title></head><body><h1 id=\"core\">Core</h1>"
                "<dl><dt id=\"core.open\">open()</dt></dl></body></html>\n");
  scratch.Write(top + "/genindex.html",
                "<html><head><title>Index</title></head><body>"
                "<a href=\"api/core.html#core.open\">open()</a></body></html>\n");
  scratch.Write(top + "/_static/basic.css", "body { background: url(\"bg.png\") }\n");
  scratch.Write(top + "/_static/bg.png", "PNG");
}

inline void WriteDocBookFolder(const Scratch& scratch, const std::string& top) {
  const std::string latin1 =
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">";
  scratch.Write(
      top + "/index.html",
      "<html><head>" + latin1 +
          "<title>The Guide</title></head><body>\n"
          "<img src=\"images//logo.png\">\n"
          "<div class=\"toc\"><p><b>Table of Contents</b></p><dl class=\"toc\">\n"
          "<dt><span class=\"preface\"><a href=\"pr01.html\">Pr\xE9"
          "face</a></span></dt>\n"
          "<dt><span class=\"chapter\"><a href=\"ch01.html\">1. Getting Started</a></span></dt>\n"
          "<dd><dl>\n"
          "<dt><span class=\"section\"><a href=\"ch01s01.html\">1.1. Installing</a></span></dt>\n"
          "<dt><span class=\"section\"><a href=\"ch01s02.html#idm7\">1.2. First &amp; last</a>"
          "</span></dt>\n"
          "</dl></dd>\n"
          "<dt><span class=\"chapter\"><a href=\"ch02.html\">2. Using</a></span></dt>\n"
          "</dl></div></body></html>\n");
  for (const char* page : {"pr01", "ch01", "ch01s01", "ch02"})
    scratch.Write(top + "/" + page + ".html",
                  "<html><head>" + latin1 + "<title>" + page +
                      "</title></head><body>"
                      "<a href=\"index.html\">Home</a></body></html>\n");
  scratch.Write(top + "/ch01s02.html",
                "<html><head><title>ch01s02</title></head><body><h2 class=\"title\">"
                "<a id=\"idm7\"></a>1.2. First</h2></body></html>\n");
  scratch.Write(top + "/images/logo.png", "PNG");
}

}  // namespace ebook::testing
