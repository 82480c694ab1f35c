// The fake programs' object kinds, each made with one reference that the caller takes over.
#ifndef LASTORA_TESTS_COM_FAKE_OFFICE_OBJECTS_H_
#define LASTORA_TESTS_COM_FAKE_OFFICE_OBJECTS_H_

#include <memory>

#include "dispatch_object.h"
#include "model.h"

namespace fake_office {

Object* NewShapes(std::shared_ptr<ShapeList> shapes);
Object* NewWord();
Object* NewExcel();

}  // namespace fake_office

#endif  // LASTORA_TESTS_COM_FAKE_OFFICE_OBJECTS_H_
