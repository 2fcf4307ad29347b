#pragma once
// Writes an application's executable from the launcher template, and its INI
// and jars beside it. Everything is staged under temporary names in the
// output folder and renamed into place only when all of it was written, so
// a failure leaves no output file; the template is only ever read.
#include "common/text.h"
#include "manifest_text.h"
#include "version_resource.h"

struct PackageRequest {
  String templatePath;
  String iniPath;
  // The application's exe. Its INI is written beside it: a copy, or with the
  // settings embedded only the "Product Information" that deciphers them.
  String outPath;
  String iconPath;       // empty: keep the template's icon
  String jarPath;        // empty: append no jar
  bool embedSettings = false;
  ManifestChoices manifest;
  StringList libraries;  // copied into the lib folder beside the exe
  String productName, fileVersion, productVersion, company, description, copyright;
};

// 0 when done; otherwise 2 with `error` saying what went wrong.
int packageApplication(const PackageRequest& request, std::string& error);
