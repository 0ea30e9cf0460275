#pragma once

#include <QStringList>

// What a reader leaves out of a movie's cast: the actors beyond the four stars and the roles,
// counted over the file and worded once for the summary's notes.
class CastLeftOut
{
  public:
    // A movie lists `actors`; those beyond the fourth are left out.
    void countActors(qsizetype actors)
    {
        if (actors > 4)
            m_actors += int(actors) - 4, ++m_movies;
    }
    void countRole() { ++m_roles; }
    // "3 actors beyond the fourth left out in 2 movies", "1 role of the cast left out".
    QStringList notes() const;

  private:
    int m_actors = 0, m_movies = 0, m_roles = 0;
};
